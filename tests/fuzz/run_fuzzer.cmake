# Runs one fuzz target for ctest: a bounded run on a fresh copy of its seed corpus, all of it
# inside the build folder, so the seeds in the source tree are only read and an earlier run's
# findings do not change what the next run starts from.
#
#   cmake -DFUZZER=<executable> -DSEEDS=<seed folder> -DWORK=<scratch folder>
#         -DSECONDS=<n> -DRUNS=<n> [-DDICT=<dictionary>] -P run_fuzzer.cmake

foreach(var FUZZER SEEDS WORK SECONDS RUNS)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "run_fuzzer.cmake needs -D${var}=...")
  endif()
endforeach()
if(NOT EXISTS ${FUZZER})
  message(FATAL_ERROR "${FUZZER} is not built (is clang++ present? build the korvan_fuzz target)")
endif()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/corpus ${WORK}/artifacts)
file(COPY ${SEEDS}/ DESTINATION ${WORK}/corpus)

set(dict_option)
if(DEFINED DICT AND EXISTS ${DICT})
  set(dict_option -dict=${DICT})
endif()

execute_process(
  COMMAND ${FUZZER} -max_total_time=${SECONDS} -runs=${RUNS} -timeout=10 -print_final_stats=1
          ${dict_option} -artifact_prefix=${WORK}/artifacts/ ${WORK}/corpus
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${FUZZER} failed (${result}); the input that broke it is in ${WORK}/artifacts/")
endif()
