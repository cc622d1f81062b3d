# Runs one fuzzer for a bounded time from a fresh copy of its seed corpus, so the committed
# seeds are never changed. Inputs that crash or break a check are kept in WORK/findings.
#   cmake -DFUZZER=<program> -DCORPUS=<seeds> -DWORK=<scratch> -DSECONDS=<n> -P run_fuzzer.cmake
# KELPIE_FUZZ_SECONDS in the environment overrides SECONDS (a longer run on demand).
if(DEFINED ENV{KELPIE_FUZZ_SECONDS})
  set(SECONDS $ENV{KELPIE_FUZZ_SECONDS})
endif()
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/corpus ${WORK}/findings)
file(COPY ${CORPUS}/ DESTINATION ${WORK}/corpus)
# The rigs write their files with fsync; on a memory file system that costs nothing, so the
# fuzzers run many times faster there. An explicit TMPDIR is left alone.
set(tmp /tmp)
if(DEFINED ENV{TMPDIR})
  set(tmp $ENV{TMPDIR})
elseif(IS_DIRECTORY /dev/shm)
  set(tmp /dev/shm)
endif()
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env TMPDIR=${tmp}
    ${FUZZER} -max_total_time=${SECONDS} -timeout=10 -rss_limit_mb=2048 -max_len=16384
    -print_final_stats=1 -artifact_prefix=${WORK}/findings/ ${WORK}/corpus
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${FUZZER} failed (${rc}); the input is in ${WORK}/findings")
endif()
