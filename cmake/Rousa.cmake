# Helpers shared by every folder of the tree.

# rousa_platform_library(<name> [DEPS ...] [PRIVATE_DEPS ...])
# One shared library per platform folder, built from every .cpp in the folder.
# The platform exists once per process: hosts, tests, tools and the deliverables
# all link these same shared objects.
function(rousa_platform_library name)
  cmake_parse_arguments(ARG "" "" "DEPS;PRIVATE_DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  list(FILTER sources EXCLUDE REGEX "_main\\.cpp$")
  add_library(${name} SHARED ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${ROUSA_WARNINGS})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
endfunction()

# rousa_system_library(<name> [DEPS ...])
# A folder of the system's own code: a static, position-independent library.
# Its load-time start-up lives only in the deliverables' own sources.
function(rousa_system_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${ROUSA_WARNINGS})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# Test sources that start threads, or include the loopback fixture that does:
# they also run in the ThreadSanitizer build.
set(ROUSA_THREAD_PATTERN "std::j?thread|std::async|dispatch_queue_create|dispatch_get_global_queue|runUntil|loopback_support\\.h")

# rousa_tests(LIBS ... [THREADS])
# Every *_test.cpp in the calling folder becomes one test executable; CTest runs
# each test case in a process of its own, so process-wide globals start fresh.
# An executable whose source starts threads (ROUSA_THREAD_PATTERN), or every one
# of a folder that says THREADS (its code under test starts them), gets the
# CTest label "threads" and joins the target threaded_tests, which the tsan
# preset builds and runs.
function(rousa_tests)
  cmake_parse_arguments(ARG "THREADS" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR}/tests ${CMAKE_CURRENT_SOURCE_DIR})
  string(REPLACE "/" "_" prefix "${rel}")
  foreach(src ${sources})
    get_filename_component(stem ${src} NAME_WE)
    set(target "${prefix}_${stem}")
    add_executable(${target} ${src})
    target_compile_options(${target} PRIVATE ${ROUSA_WARNINGS})
    target_link_libraries(${target} PRIVATE ${ARG_LIBS} platform_testing GTest::gtest GTest::gmock GTest::gtest_main)
    add_dependencies(${target} stage_resources)
    set(properties ENVIRONMENT "ROUSA_STAGED_RESOURCES=${ROUSA_STAGED_RESOURCES}")
    file(READ ${src} text)
    if(ARG_THREADS OR text MATCHES "${ROUSA_THREAD_PATTERN}")
      list(APPEND properties LABELS threads)
      set_property(GLOBAL APPEND PROPERTY ROUSA_THREADED_TESTS ${target})
    endif()
    gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST PROPERTIES ${properties})
  endforeach()
endfunction()

# rousa_fuzz_target(<name> SOURCES ... [LIBS ...])
# A libFuzzer target of the fuzz preset; its seeds are in fuzz/corpus/<name>/.
function(rousa_fuzz_target name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${ROUSA_WARNINGS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  add_dependencies(fuzz_targets ${name})
endfunction()
