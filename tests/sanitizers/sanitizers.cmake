# Run-time options of the sanitizers for the widget tests of a sanitized build (CHIMEWICK_SANITIZE).
# CHIMEWICK_SANITIZER_ENV is a list of NAME=value entries for a test's ENVIRONMENT; empty otherwise.
# The leak suppressions cover only what Qt and the system libraries below it keep for the life of the
# process; a leak in our own code still fails the test.
set(CHIMEWICK_SANITIZER_ENV "")
if(CHIMEWICK_SANITIZE)
  set(CHIMEWICK_SANITIZER_ENV
    "LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_LIST_DIR}/lsan.supp:print_suppressions=0"
    "UBSAN_OPTIONS=print_stacktrace=1")
endif()
