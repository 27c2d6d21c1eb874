# Settings that every build shares: the plug-in, the tests, the benchmark, the sanitizer builds
# and the build of the engines' portable code. Their output is tested bit for bit against one table
# of hashes, whichever build renders it.

# The product reads files and folders, and starts the desktop's opener, through POSIX calls:
# it builds for macOS and Linux.
if(WIN32)
    message(FATAL_ERROR "This plug-in builds for macOS and Linux only")
endif()

set(CMAKE_CXX_STANDARD 17)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)

# Switches that every target compiling JUCE or the product's sources must agree on.
set(TIDEWELL_JUCE_DEFINITIONS
    JUCE_WEB_BROWSER=0
    JUCE_USE_CURL=0
    JUCE_USE_FLAC=0
    JUCE_USE_OGGVORBIS=0
    JUCE_VST3_CAN_REPLACE_VST2=0
    JUCE_DISPLAY_SPLASH_SCREEN=0
    JUCE_REPORT_APP_USAGE=0
    JUCE_SILENCE_XCODE_15_LINKER_WARNING=1
    # Lets the tests pump the message loop to receive action messages; the product itself
    # never runs a modal loop.
    JUCE_MODAL_LOOPS_PERMITTED=1)

# The output must not depend on whether a compiler fuses a multiply and an add into one rounding.
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    add_compile_options(-ffp-contract=off)
endif()

# For every target, not only the product's: the tests include the engines' headers, whose types
# change with the path.
if(TIDEWELL_NO_SSE2)
    add_compile_definitions(TIDEWELL_NO_SSE2)
endif()
