# One date for every time in the packages, so that a commit packs into the
# same bytes in any folder, at any time, under any TZ or umask. CPack reads
# it each time it packs (cpack_reproducible.cmake), so that a build after a
# new commit needs no new configure: SOURCE_DATE_EPOCH where it is set,
# else the time of the commit checked out, else a fixed date.
find_package(Git QUIET)
set(CPACK_KENO_SOURCE_DIR ${PROJECT_SOURCE_DIR})
set(CPACK_KENO_FIXED_DATE 1796774400)  # 2026-12-09 00:00 UTC
set(CPACK_KENO_GIT)
# The tree's own .git, not that of a repository the sources were unpacked in.
if(Git_FOUND AND EXISTS ${PROJECT_SOURCE_DIR}/.git)
  set(CPACK_KENO_GIT ${GIT_EXECUTABLE})
else()
  message(STATUS "No git commit found: the packages' files are dated "
    "2026-12-09 00:00 UTC, unless SOURCE_DATE_EPOCH is set when they are made")
endif()
# CPack records the packing user as each file's owner; Python packs the
# files again, owned by 0, so that no packing needs root.
find_package(Python3 QUIET COMPONENTS Interpreter)
set(CPACK_KENO_PYTHON)
set(CPACK_KENO_REPACK ${CMAKE_CURRENT_LIST_DIR}/repack.py)
if(Python3_FOUND)
  set(CPACK_KENO_PYTHON ${Python3_EXECUTABLE})
else()
  message(STATUS "No Python 3 found: keno builds, but its packages need it "
    "(Debian: python3)")
endif()
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/cpack_reproducible.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${CPACK_PROJECT_CONFIG_FILE})
