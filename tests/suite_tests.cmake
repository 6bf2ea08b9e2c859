# Lists a GoogleTest program's suites for ctest, one test per suite: each suite's cases run in
# one process, since under Wine starting a process costs more than most cases. Run by ctest
# (through the include file velquin_add_tests writes) whenever the program is newer than its
# list. A failure is still named by its case in the program's output.
#
# velquin_suite_tests(EXE <program> EXECUTOR <runner> DIR <working folder> CASE_TIMEOUT <s>
#                     LOCK <resource or empty> LIST <file written>)
function(velquin_suite_tests)
    cmake_parse_arguments(ARG "" "EXE;EXECUTOR;DIR;CASE_TIMEOUT;LOCK;LIST" "" ${ARGN})
    execute_process(COMMAND ${ARG_EXECUTOR} ${ARG_EXE} --gtest_list_tests
                    WORKING_DIRECTORY ${ARG_DIR} TIMEOUT 60
                    OUTPUT_VARIABLE output RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "Could not list the tests of ${ARG_EXE} (${result}):\n${output}")
    endif()
    # "Suite.  # TypeParam = ..." starts a suite; "  Case  # GetParam() = ..." is one case.
    string(REPLACE ";" "\\;" output "${output}")
    string(REPLACE "\n" ";" lines "${output}")
    set(suites "")
    foreach(line IN LISTS lines)
        if(line MATCHES "^([^ #][^ ]*)\\.")
            set(suite "${CMAKE_MATCH_1}")
            list(APPEND suites "${suite}")
            set(cases_${suite} 0)
        elseif(line MATCHES "^  [^ ]" AND suite)
            math(EXPR cases_${suite} "${cases_${suite}} + 1")
        endif()
    endforeach()
    get_filename_component(program ${ARG_EXE} NAME_WE)
    set(content "")
    foreach(suite IN LISTS suites)
        # The suite has as long as its cases had one by one.
        math(EXPR timeout "${ARG_CASE_TIMEOUT} * ${cases_${suite}}")
        string(APPEND content
               "add_test([==[${suite}]==] ${ARG_EXECUTOR} ${ARG_EXE} [==[--gtest_filter=${suite}.*]==])\n"
               "set_tests_properties([==[${suite}]==] PROPERTIES WORKING_DIRECTORY ${ARG_DIR} "
               "TIMEOUT ${timeout} LABELS ${program}")
        if(ARG_LOCK)
            string(APPEND content " RESOURCE_LOCK ${ARG_LOCK}")
        endif()
        string(APPEND content ")\n")
    endforeach()
    file(WRITE ${ARG_LIST} "${content}")
endfunction()
