# Fuzz targets of the core's parsers (fuzz/*.cpp, one LLVMFuzzerTestOneInput each).
#
# -DCHIMEWICK_FUZZ=ON (clang only, e.g. CXX=clang++-14): real libFuzzer binaries fuzz_<name>, with the
#   core built for coverage and ASan+UBSan; scripts/fuzz builds and runs them.
# Otherwise: each target is linked with fuzz/ReplayMain.cpp into fuzz_replay_<name>, which runs every
#   file of fuzz/corpus/<name>/ once; CTest runs it (label "core"), so the corpus is a regression test.
option(CHIMEWICK_FUZZ "Build the libFuzzer targets (needs clang)" OFF)

# The targets are the files fuzz/<Name>Fuzz.cpp; a target's name is <Name> in lower case with
# underscores (JsonCodecFuzz.cpp: json_codec), its seed corpus fuzz/corpus/<name>/. The names are written
# to <build>/fuzz-targets.txt for scripts/fuzz.
set(_fuzz_dir ${CMAKE_CURRENT_SOURCE_DIR}/fuzz)
file(GLOB _fuzz_sources CONFIGURE_DEPENDS RELATIVE ${_fuzz_dir} ${_fuzz_dir}/*Fuzz.cpp)
list(SORT _fuzz_sources)
set(CHIMEWICK_FUZZ_TARGETS)
set(_fuzz_names)
foreach(_source ${_fuzz_sources})
  string(REGEX REPLACE "Fuzz\\.cpp$" "" _name ${_source})
  string(REGEX REPLACE "([a-z0-9])([A-Z])" "\\1_\\2" _name ${_name})
  string(TOLOWER ${_name} _name)
  list(APPEND CHIMEWICK_FUZZ_TARGETS ${_name}:${_source})
  string(APPEND _fuzz_names "${_name}\n")
endforeach()
file(WRITE ${CMAKE_BINARY_DIR}/fuzz-targets.txt "${_fuzz_names}")

if(CHIMEWICK_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "CHIMEWICK_FUZZ needs clang (configure with CXX=clang++-14)")
  endif()
  # Any undefined behaviour stops the run, so libFuzzer reports it as a crash and keeps the input.
  set(_fuzz_sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_compile_options(chimewick_core PRIVATE -fsanitize=fuzzer-no-link ${_fuzz_sanitizers})
  target_link_options(chimewick_core PUBLIC -fsanitize=address,undefined)
endif()

foreach(_entry ${CHIMEWICK_FUZZ_TARGETS})
  string(REPLACE ":" ";" _pair ${_entry})
  list(GET _pair 0 _name)
  list(GET _pair 1 _source)
  if(CHIMEWICK_FUZZ)
    add_executable(fuzz_${_name} ${_fuzz_dir}/${_source})
    target_compile_options(fuzz_${_name} PRIVATE -fsanitize=fuzzer ${_fuzz_sanitizers})
    target_link_options(fuzz_${_name} PRIVATE -fsanitize=fuzzer,address,undefined)
    set(_target fuzz_${_name})
  else()
    add_executable(fuzz_replay_${_name} ${_fuzz_dir}/${_source} ${_fuzz_dir}/ReplayMain.cpp)
    set(_target fuzz_replay_${_name})
    if(BUILD_TESTING)
      add_test(NAME fuzz_replay_${_name} COMMAND fuzz_replay_${_name} ${_fuzz_dir}/corpus/${_name})
      set_tests_properties(fuzz_replay_${_name} PROPERTIES LABELS core TIMEOUT 120)
      set_property(GLOBAL APPEND PROPERTY CHIMEWICK_CHECK_TARGETS fuzz_replay_${_name})
    endif()
  endif()
  target_link_libraries(${_target} PRIVATE chimewick_core)
endforeach()
