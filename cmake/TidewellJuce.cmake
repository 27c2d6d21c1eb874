# The framework, built from a patched copy of Debian's JUCE modules that each build folder keeps.
#
# The framework's UTF-8 text type is unsafe over bytes that are not UTF-8, and it fills it with
# such bytes itself, from file names and the environment; juce-utf8-bytes.patch says what it
# changes and why. Debian's JUCEConfig.cmake adds the modules from its own folder and cannot be
# pointed at another, so its helper files are included here as it includes them, and the modules
# are added from the copy.

set(TIDEWELL_JUCE_VERSION 7.0.5)
set(TIDEWELL_JUCE_PATCH "${CMAKE_CURRENT_LIST_DIR}/juce-utf8-bytes.patch")

find_path(TIDEWELL_JUCE_CMAKE_DIR JUCEUtils.cmake
    PATHS "/usr/lib/${CMAKE_LIBRARY_ARCHITECTURE}/cmake/JUCE-${TIDEWELL_JUCE_VERSION}"
          "/usr/lib/cmake/JUCE-${TIDEWELL_JUCE_VERSION}"
    NO_DEFAULT_PATH)
find_path(TIDEWELL_JUCE_SOURCE_DIR juce_core/juce_core.h PATHS /usr/share/juce/modules NO_DEFAULT_PATH)
find_program(TIDEWELL_JUCEAIDE juceaide
    PATHS "/usr/lib/${CMAKE_LIBRARY_ARCHITECTURE}/juce" /usr/lib/juce NO_DEFAULT_PATH)
find_program(TIDEWELL_PATCH_PROGRAM patch)

if(NOT TIDEWELL_JUCE_CMAKE_DIR OR NOT TIDEWELL_JUCE_SOURCE_DIR OR NOT TIDEWELL_JUCEAIDE)
    message(FATAL_ERROR "JUCE ${TIDEWELL_JUCE_VERSION} was not found: scripts/install-deps.sh installs "
        "Debian's juce-modules-source.")
endif()
if(NOT TIDEWELL_PATCH_PROGRAM)
    message(FATAL_ERROR "patch was not found: scripts/install-deps.sh installs it.")
endif()

# The copy is made again whenever the patch or any of the framework's files changes.
set(copy "${CMAKE_BINARY_DIR}/juce-modules")
set(stamp_file "${copy}/.tidewell-patched")
file(SHA256 "${TIDEWELL_JUCE_PATCH}" stamp)
file(GLOB_RECURSE originals LIST_DIRECTORIES false "${TIDEWELL_JUCE_SOURCE_DIR}/*")
foreach(original IN LISTS originals)
    file(TIMESTAMP "${original}" modified "%s" UTC)
    string(APPEND stamp ";${original}@${modified}")
endforeach()
string(SHA256 stamp "${stamp}")

set(copied_stamp "")
if(EXISTS "${stamp_file}")
    file(READ "${stamp_file}" copied_stamp)
endif()

if(NOT copied_stamp STREQUAL stamp)
    message(STATUS "Copying the JUCE modules to ${copy} and patching them")
    file(REMOVE_RECURSE "${copy}")
    file(COPY "${TIDEWELL_JUCE_SOURCE_DIR}/" DESTINATION "${copy}")
    # The copy keeps the originals' times, which may be older than what an earlier copy built:
    # every file counts as new, so that nothing built from a different copy is kept.
    file(GLOB_RECURSE copies LIST_DIRECTORIES false "${copy}/*")
    file(TOUCH_NOCREATE ${copies})

    execute_process(
        COMMAND "${TIDEWELL_PATCH_PROGRAM}" -p1 --forward --batch --fuzz=0 --input "${TIDEWELL_JUCE_PATCH}"
        WORKING_DIRECTORY "${copy}"
        RESULT_VARIABLE patch_result
        OUTPUT_VARIABLE patch_output
        ERROR_VARIABLE patch_output)
    if(NOT patch_result EQUAL 0)
        file(REMOVE_RECURSE "${copy}")
        message(FATAL_ERROR "The framework patch ${TIDEWELL_JUCE_PATCH} does not apply to the JUCE modules in "
            "${TIDEWELL_JUCE_SOURCE_DIR}: the build needs JUCE ${TIDEWELL_JUCE_VERSION} as Debian 12 ships it "
            "(another version needs the patch made again for it).\n${patch_output}")
    endif()
    file(WRITE "${stamp_file}" "${stamp}")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${TIDEWELL_JUCE_PATCH}")

# What JUCEConfig.cmake sets up before it adds the modules.
include("${TIDEWELL_JUCE_CMAKE_DIR}/LV2_HELPER.cmake")
if(NOT TARGET juce::juceaide)
    add_executable(juce::juceaide IMPORTED)
    set_target_properties(juce::juceaide PROPERTIES IMPORTED_LOCATION "${TIDEWELL_JUCEAIDE}")
endif()
set(JUCE_MODULES_DIR "${copy}" CACHE INTERNAL "The path to JUCE modules")
include("${TIDEWELL_JUCE_CMAKE_DIR}/JUCEModuleSupport.cmake")
include("${TIDEWELL_JUCE_CMAKE_DIR}/JUCEUtils.cmake")

file(GLOB modules LIST_DIRECTORIES true "${copy}/juce_*")
foreach(module IN LISTS modules)
    if(IS_DIRECTORY "${module}")
        juce_add_module("${module}" ALIAS_NAMESPACE juce)
    endif()
endforeach()

unset(copy)
unset(stamp_file)
unset(stamp)
unset(copied_stamp)
unset(originals)
unset(copies)
unset(modules)
