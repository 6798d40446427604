# Run by CTest before the tests (see vemora_test in CMakeLists.txt): lists the suites of a
# GoogleTest program and registers one CTest test per suite. A process per suite rather than
# per case: starting the program is most of what a small case costs.
function(vemora_write_suites exe out prefix)
  set(ENV{QT_QPA_PLATFORM} offscreen)  # the GUI tests' program makes its application first
  execute_process(COMMAND "${exe}" --gtest_list_tests OUTPUT_VARIABLE listing RESULT_VARIABLE rc TIMEOUT 60)
  if(NOT rc EQUAL 0)
    file(WRITE "${out}" "add_test(\"${exe}_NOT_LISTED\" \"${exe}_NOT_LISTED\")\n")
    return()
  endif()
  string(REPLACE "\n" ";" lines "${listing}")
  set(script "")
  foreach(line IN LISTS lines)
    # Suite lines start in the first column and end with a dot; cases are indented.
    if(line MATCHES "^([^ #][^ ]*)\\.( |$)")
      set(suite "${CMAKE_MATCH_1}")
      set(test "${prefix}:${suite}")
      string(APPEND script "add_test([==[${test}]==] [==[${exe}]==] [==[--gtest_filter=${suite}.*]==])\n")
      string(APPEND script "set_tests_properties([==[${test}]==] PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen")
      # The exhaustive variants carry the label "slow": left out of scripts/test.sh.
      if(suite MATCHES "^Slow|/Slow")
        string(APPEND script " LABELS slow")
      endif()
      string(APPEND script ")\n")
    endif()
  endforeach()
  file(WRITE "${out}" "${script}")
endfunction()
