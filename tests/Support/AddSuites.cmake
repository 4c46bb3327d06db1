# Run by ctest when it reads the tests: one test per suite of a test program. The program is started once for
# the suite and runs each case in a child process of its own (Support/TestMain.cpp): starting the program costs
# more than most cases. A suite that needs an X display runs on a virtual one of its own.
# Given: program, working_dir, timeout, display_suites (a regular expression), display_runner.
execute_process(COMMAND "${program}" --gtest_list_tests
  OUTPUT_VARIABLE listing RESULT_VARIABLE listed ERROR_VARIABLE errors)
get_filename_component(program_name "${program}" NAME)
if(NOT listed EQUAL 0)
  add_test("${program_name}.NOT_LISTED" "${program}" --gtest_list_tests)
  return()
endif()

string(REPLACE "\n" ";" lines "${listing}")
foreach(line IN LISTS lines)
  # Suites start at the line's beginning and end with a dot; "  # TypeParam = ..." follows typed ones.
  if(line MATCHES "^([^ #][^ ]*)\\.")
    set(suite "${CMAKE_MATCH_1}")
    set(name "${program_name}.${suite}")
    string(REPLACE "/" "." name "${name}")
    set(command "${program}" "--gtest_filter=${suite}.*")
    if(suite MATCHES "${display_suites}")
      set(command bash "${display_runner}" 1280x1024 ${command})
    endif()
    add_test("${name}" ${command})
    set_tests_properties("${name}" PROPERTIES WORKING_DIRECTORY "${working_dir}" TIMEOUT "${timeout}"
      ENVIRONMENT "TORVI_PROCESS_PER_CASE=1")
  endif()
endforeach()
