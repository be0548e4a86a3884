# The CTest fixture "prosody": a private XMPP server on loopback with BOSH, the
# user's and the desk phone's accounts, and a scripted phone that echoes every
# message (scripts/prosody.sh). Test programs find it through the env file
# named by QK_PROSODY_ENV_FILE; tests that need a server of their own run
# the script named by QK_PROSODY_SCRIPT.
set(QK_PROSODY_DIR ${CMAKE_BINARY_DIR}/prosody)
add_test(NAME prosody_start
         COMMAND env QK_PROSODY_ECHO=1 bash ${PROJECT_SOURCE_DIR}/scripts/prosody.sh start ${QK_PROSODY_DIR})
add_test(NAME prosody_stop COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/prosody.sh stop ${QK_PROSODY_DIR})
set_tests_properties(prosody_start PROPERTIES FIXTURES_SETUP prosody)
set_tests_properties(prosody_stop PROPERTIES FIXTURES_CLEANUP prosody)

function(qk_require_prosody test)
  set_tests_properties(${test} PROPERTIES FIXTURES_REQUIRED prosody ENVIRONMENT
                       "QK_PROSODY_ENV_FILE=Z:${QK_PROSODY_DIR}/env;QK_PROSODY_SCRIPT=${PROJECT_SOURCE_DIR}/scripts/prosody.sh")
endfunction()
