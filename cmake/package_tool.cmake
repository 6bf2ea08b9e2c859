# The packaging tool (tools/package_tool) runs on the build machine: it draws the shell
# extension's icons and the package's logos and writes the app package, for which Debian has
# no tool. A cross build compiles it with the machine's own compiler; a native build as a
# target of its own. Sets VELQUIN_PACKAGE_TOOL (its path) and the target velquin_package_tool.
set(_tool_dir ${PROJECT_SOURCE_DIR}/tools/package_tool)
set(_tool_sources ${_tool_dir}/bytes.cpp ${_tool_dir}/images.cpp ${_tool_dir}/main.cpp
                  ${_tool_dir}/package_writer.cpp ${_tool_dir}/sha256.cpp)
if(CMAKE_CROSSCOMPILING)
    find_program(VELQUIN_HOST_CXX NAMES c++ g++ clang++ REQUIRED
                 DOC "The build machine's C++ compiler, for the packaging tool")
    set(VELQUIN_PACKAGE_TOOL ${PROJECT_BINARY_DIR}/host/velquin-package-tool)
    file(GLOB _tool_headers ${_tool_dir}/*.h)
    add_custom_command(OUTPUT ${VELQUIN_PACKAGE_TOOL}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/host
        COMMAND ${VELQUIN_HOST_CXX} -std=c++20 -O2 -o ${VELQUIN_PACKAGE_TOOL} ${_tool_sources}
        DEPENDS ${_tool_sources} ${_tool_headers}
        COMMENT "Building the packaging tool for this machine" VERBATIM)
    add_custom_target(velquin_package_tool DEPENDS ${VELQUIN_PACKAGE_TOOL})
else()
    add_executable(velquin_package_tool ${_tool_sources})
    set(VELQUIN_PACKAGE_TOOL $<TARGET_FILE:velquin_package_tool>)
endif()
