# SPDX-License-Identifier: Apache-2.0
# Runs the JUnit suites of the Java binding in a JVM that checks every JNI call, and fails on a
# failed test or on any warning of the JNI checker.
#
# -DJAVA=<java> -DCLASSPATH=<jars> -DTEST_JAR=<jar of the suites> -DLIBRARY=<the .so>
# optional: -DRENDERER=<receipt-preview, for the suites that print through the printer model>
#           -DPRELOAD=<runtime to preload> -DASAN_OPTIONS=... -DUBSAN_OPTIONS=...
foreach(required JAVA CLASSPATH TEST_JAR LIBRARY)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "run_jvm_test.cmake needs -D${required}=...")
  endif()
endforeach()

set(command
  ${JAVA} -Xcheck:jni
  -Dzelvar.printer.api.library=${LIBRARY}
  -Dzelvar.receipt.preview=${RENDERER}
  -cp ${CLASSPATH}:${TEST_JAR}
  org.junit.platform.console.ConsoleLauncher
  --disable-banner --disable-ansi-colors --fail-if-no-tests --details=tree
  --scan-class-path=${TEST_JAR}
)
if(PRELOAD)
  set(command ${CMAKE_COMMAND} -E env
    LD_PRELOAD=${PRELOAD} ASAN_OPTIONS=${ASAN_OPTIONS} UBSAN_OPTIONS=${UBSAN_OPTIONS}
    ${command})
endif()

execute_process(COMMAND ${command}
  OUTPUT_VARIABLE output ERROR_VARIABLE output RESULT_VARIABLE status)
message("${output}")

if(NOT status EQUAL 0)
  message(FATAL_ERROR "JVM tests failed (exit status ${status})")
endif()
# -Xcheck:jni reports misuse of JNI as lines starting with WARNING, and carries on.
string(REGEX MATCHALL "(^|\n)WARNING[^\n]*" warnings "${output}")
if(warnings)
  string(REPLACE ";" "\n" warnings "${warnings}")
  message(FATAL_ERROR "JNI checker warnings:${warnings}")
endif()
