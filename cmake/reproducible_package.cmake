# One date for every time in the packages, so that a commit packs into the
# same bytes in any folder, at any time, under any TZ or umask: the
# SOURCE_DATE_EPOCH of the configure step where it is set, else the time of
# the commit checked out.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(keno_source_date "$ENV{SOURCE_DATE_EPOCH}")
  if(NOT keno_source_date MATCHES "^[0-9]+$")
    message(FATAL_ERROR "SOURCE_DATE_EPOCH is '${keno_source_date}': it must "
      "be a whole number of seconds since 1970-01-01 00:00 UTC")
  endif()
else()
  set(keno_source_date)
  find_package(Git QUIET)
  # The tree's own .git, not that of a repository the sources were unpacked in.
  if(Git_FOUND AND EXISTS ${PROJECT_SOURCE_DIR}/.git)
    execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct
      WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
      OUTPUT_VARIABLE keno_source_date OUTPUT_STRIP_TRAILING_WHITESPACE
      ERROR_QUIET)
  endif()
  if(NOT keno_source_date MATCHES "^[0-9]+$")
    set(keno_source_date 1796774400)
    message(STATUS "No git commit found: the packages' files are dated "
      "2026-12-09 00:00 UTC (SOURCE_DATE_EPOCH sets another date)")
  endif()
endif()
set(CPACK_KENO_SOURCE_DATE_EPOCH ${keno_source_date})
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/cpack_reproducible.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${CPACK_PROJECT_CONFIG_FILE})
