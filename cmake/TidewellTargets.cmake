# Targets shared by the normal build, the sanitizer builds and the core-tests build.

# The product's identity, declared once: the plug-in formats take it from here, and the code
# reads it as the framework's JucePlugin_* definitions (processor/ProductInfo.h).
set(TIDEWELL_PRODUCT_NAME "QEX Tidewell")
set(TIDEWELL_MAKER "Vellomar")
set(TIDEWELL_WEBSITE "https://vellomar.com")
set(TIDEWELL_LV2_URI "${TIDEWELL_WEBSITE}/plugins/qex-tidewell")

# The bundle ID in reverse-domain form: the web site's host reversed, then the product name in
# lower case without spaces.
string(REGEX REPLACE "^[^:/]*://" "" tidewell_host "${TIDEWELL_WEBSITE}")
string(REGEX REPLACE "^www\\.|[/:?#].*$" "" tidewell_host "${tidewell_host}")
string(REPLACE "." ";" TIDEWELL_BUNDLE_ID "${tidewell_host}")
list(REVERSE TIDEWELL_BUNDLE_ID)
string(TOLOWER "${TIDEWELL_PRODUCT_NAME}" tidewell_id_name)
string(REPLACE " " "" tidewell_id_name "${tidewell_id_name}")
list(APPEND TIDEWELL_BUNDLE_ID "${tidewell_id_name}")
list(JOIN TIDEWELL_BUNDLE_ID "." TIDEWELL_BUNDLE_ID)
unset(tidewell_host)
unset(tidewell_id_name)

set(TIDEWELL_JUCE_MODULES
    juce::juce_audio_basics
    juce::juce_audio_processors
    juce::juce_core
    juce::juce_data_structures
    juce::juce_events
    juce::juce_graphics
    juce::juce_gui_basics)

function(tidewell_product_sources out_var)
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS
        "${PROJECT_SOURCE_DIR}/processor/*.cpp"
        "${PROJECT_SOURCE_DIR}/lookandfeel/*.cpp"
        "${PROJECT_SOURCE_DIR}/editor/*.cpp")
    set(${out_var} ${sources} PARENT_SCOPE)
endfunction()

# Fonts and icons compiled into the plug-in. Created once, linked by every product build.
function(tidewell_add_binary_data)
    if(TARGET TidewellBinaryData)
        return()
    endif()
    file(GLOB resources CONFIGURE_DEPENDS
        "${PROJECT_SOURCE_DIR}/resources/fonts/*.ttf"
        "${PROJECT_SOURCE_DIR}/resources/icons/*.svg")
    if(resources)
        # JUCE regenerates the data only when its list of inputs is rewritten, which happens
        # at configure time; re-configure whenever a font or icon changes.
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${resources})
        juce_add_binary_data(TidewellBinaryData
            HEADER_NAME BinaryData.h
            NAMESPACE BinaryData
            SOURCES ${resources})
        # Every plug-in made with the framework defines these names; exported, a host that
        # loads plug-ins into one symbol scope could bind one plug-in's look-ups to another's.
        set_target_properties(TidewellBinaryData PROPERTIES
            POSITION_INDEPENDENT_CODE ON
            C_VISIBILITY_PRESET hidden
            CXX_VISIBILITY_PRESET hidden
            VISIBILITY_INLINES_HIDDEN ON)
    else()
        add_library(TidewellBinaryData INTERFACE)
    endif()
endfunction()

function(tidewell_add_plugin)
    tidewell_add_binary_data()

    juce_add_plugin(QEXTidewell
        PRODUCT_NAME "${TIDEWELL_PRODUCT_NAME}"
        COMPANY_NAME "${TIDEWELL_MAKER}"
        COMPANY_WEBSITE "${TIDEWELL_WEBSITE}"
        BUNDLE_ID "${TIDEWELL_BUNDLE_ID}"
        PLUGIN_MANUFACTURER_CODE Vlmr
        PLUGIN_CODE Qxtw
        AU_EXPORT_PREFIX QEXTidewellAU
        AU_MAIN_TYPE kAudioUnitType_Effect
        VST3_CATEGORIES Fx Modulation
        LV2URI "${TIDEWELL_LV2_URI}"
        FORMATS AU VST3 LV2 Standalone
        IS_SYNTH FALSE
        NEEDS_MIDI_INPUT FALSE
        NEEDS_MIDI_OUTPUT FALSE
        IS_MIDI_EFFECT FALSE
        EDITOR_WANTS_KEYBOARD_FOCUS FALSE
        COPY_PLUGIN_AFTER_BUILD FALSE)

    tidewell_product_sources(sources)
    target_sources(QEXTidewell PRIVATE ${sources})
    target_include_directories(QEXTidewell PUBLIC "${PROJECT_SOURCE_DIR}")

    # Debian's JUCE does not pass the LV2 URI to the LV2 client; without it the bundle
    # would name itself by the bare product name.
    target_compile_definitions(QEXTidewell PUBLIC
        ${TIDEWELL_JUCE_DEFINITIONS}
        JucePlugin_LV2URI="${TIDEWELL_LV2_URI}")

    target_link_libraries(QEXTidewell
        PRIVATE
            TidewellBinaryData
            ${TIDEWELL_JUCE_MODULES}
            juce::juce_audio_utils
        PUBLIC
            juce::juce_recommended_config_flags
            juce::juce_recommended_warning_flags)

    # GCC 12 reports JUCE's listener lists (in JUCE's own headers) as dangling pointers.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        target_compile_options(QEXTidewell PUBLIC -Wno-dangling-pointer)
    endif()

    tidewell_export_only(QEXTidewell_VST3 GetPluginFactory ModuleEntry ModuleExit)
    tidewell_export_only(QEXTidewell_LV2 lv2_descriptor lv2ui_descriptor)
    tidewell_add_display_check()

    tidewell_ship_font_licences()
endfunction()

# Hidden visibility does not reach the standard library's template instances, which its headers
# declare visible: a version script keeps a plug-in binary's exports to its format's entry points.
function(tidewell_export_only target)
    if(NOT TARGET ${target} OR NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
        return()
    endif()
    list(JOIN ARGN "; " symbols)
    set(script "${CMAKE_CURRENT_BINARY_DIR}/${target}.exports")
    file(CONFIGURE OUTPUT "${script}" CONTENT "{\n    global: ${symbols};\n    local: *;\n};\n")
    target_link_options(${target} PRIVATE "LINKER:--version-script=${script}")
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS "${script}")
endfunction()

# On Linux the framework's Standalone crashes while it opens its window when no X server answers
# at the display. Its own entry point checks first and says so, then hands over to the framework's
# application; the run command asks the same through tidewell_display_check before starting it.
function(tidewell_add_display_check)
    if(NOT TARGET QEXTidewell_Standalone OR NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
        return()
    endif()
    find_package(X11 REQUIRED)
    set(check "${PROJECT_SOURCE_DIR}/standalone/DisplayCheck.cpp")

    target_sources(QEXTidewell_Standalone PRIVATE "${check}" "${PROJECT_SOURCE_DIR}/standalone/StandaloneMain.cpp")
    target_compile_definitions(QEXTidewell_Standalone PRIVATE JUCE_USE_CUSTOM_PLUGIN_STANDALONE_ENTRYPOINT=1)
    target_link_libraries(QEXTidewell_Standalone PRIVATE X11::X11)

    add_executable(tidewell_display_check "${check}" "${PROJECT_SOURCE_DIR}/standalone/DisplayProbe.cpp")
    target_link_libraries(tidewell_display_check PRIVATE X11::X11)
endfunction()

# The fonts compiled into every binary are licensed on condition that each copy carries their
# licences and notice: each format gets the text files of resources/fonts (a bundle inside,
# the Standalone beside its program).
function(tidewell_ship_font_licences)
    file(GLOB licences CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/resources/fonts/*.txt")

    foreach(format IN ITEMS VST3 AU LV2 Standalone)
        set(target QEXTidewell_${format})
        if(NOT TARGET ${target})
            continue()
        endif()

        if(format STREQUAL "LV2" OR (format STREQUAL "Standalone" AND NOT APPLE))
            set(destination "$<TARGET_FILE_DIR:${target}>")
        else()
            set(destination "$<TARGET_FILE_DIR:${target}>/../Resources")
        endif()

        add_custom_command(TARGET ${target} POST_BUILD
            COMMAND "${CMAKE_COMMAND}" -E make_directory "${destination}"
            COMMAND "${CMAKE_COMMAND}" -E copy_if_different ${licences} "${destination}"
            VERBATIM)

        # The copy runs after a link; an edited text file has to cause one.
        set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${licences})
    endforeach()
endfunction()

# A plain static library of the product's sources and the JUCE modules, for builds that
# need no plug-in wrapper (sanitizer stress tests, fuzzing). Consumers see the module
# headers and definitions through the interface properties.
function(tidewell_add_core_library name)
    cmake_parse_arguments(ARG "" "" "EXTRA_MODULES" ${ARGN})
    tidewell_add_binary_data()
    add_library(${name} STATIC)
    tidewell_product_sources(sources)
    target_sources(${name} PRIVATE ${sources})
    target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}")
    target_compile_definitions(${name} PUBLIC
        ${TIDEWELL_JUCE_DEFINITIONS}
        JUCE_STANDALONE_APPLICATION=0
        # What juce_add_plugin defines for the plug-in's own code.
        JucePlugin_Name="${TIDEWELL_PRODUCT_NAME}"
        JucePlugin_Manufacturer="${TIDEWELL_MAKER}"
        JucePlugin_ManufacturerWebsite="${TIDEWELL_WEBSITE}"
        JucePlugin_VersionString="${PROJECT_VERSION}")
    target_link_libraries(${name}
        PRIVATE TidewellBinaryData ${TIDEWELL_JUCE_MODULES} ${ARG_EXTRA_MODULES}
        # JUCE adds the system image libraries only to the targets of its own helpers.
        PUBLIC juce::juce_recommended_config_flags juce::pkgconfig_JUCE_IMG_LINUX_DEPS)
    target_compile_definitions(${name} INTERFACE
        $<TARGET_PROPERTY:${name},COMPILE_DEFINITIONS>)
    target_include_directories(${name} INTERFACE
        $<TARGET_PROPERTY:${name},INCLUDE_DIRECTORIES>)
endfunction()
