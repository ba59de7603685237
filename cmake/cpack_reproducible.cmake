# Python packs the archives again (reproducible_package.cmake).
if(NOT CPACK_KENO_PYTHON)
  message(FATAL_ERROR "Packing needs Python 3, which configure did not find: "
    "install it (Debian: python3) and configure again")
endif()
# Read by CPack twice. First, before it installs the files to pack: the one
# date for the archives, and for strip, which writes it into keno.exe's
# header, where the linker wrote no time. Like the commit's time, the
# SOURCE_DATE_EPOCH that counts is CPack's, not that of the configure step.
if(NOT DEFINED CPACK_PACKAGE_FILES)
  if(DEFINED ENV{SOURCE_DATE_EPOCH})
    if(NOT "$ENV{SOURCE_DATE_EPOCH}" MATCHES "^[0-9]+$")
      message(FATAL_ERROR "SOURCE_DATE_EPOCH is '$ENV{SOURCE_DATE_EPOCH}': it "
        "must be a whole number of seconds since 1970-01-01 00:00 UTC")
    endif()
  elseif(CPACK_KENO_GIT)
    # No ERROR_QUIET: where git fails (no commit, a "dubious ownership"),
    # its own message says why.
    execute_process(COMMAND ${CPACK_KENO_GIT} log -1 --format=%ct
      WORKING_DIRECTORY "${CPACK_KENO_SOURCE_DIR}"
      OUTPUT_VARIABLE date OUTPUT_STRIP_TRAILING_WHITESPACE
      COMMAND_ERROR_IS_FATAL ANY)
    set(ENV{SOURCE_DATE_EPOCH} ${date})
  else()
    set(ENV{SOURCE_DATE_EPOCH} ${CPACK_KENO_FIXED_DATE})
  endif()
  set(ENV{TZ} UTC)
  return()
endif()
# Then on the package it made, before it copies it out and writes its
# checksum. CPack 3.25 stores the files in the order that the file system
# lists them, with their owner, the user who packs, and dates the zip's
# entries in local time. This packs the same files again, sorted by their
# bytes (GLOB sorts in any locale), owned by 0 and dated in UTC, with no
# entries for folders.
set(stage ${CPACK_TEMPORARY_DIRECTORY})
set(paths_from ${stage})
if(CPACK_INCLUDE_TOPLEVEL_DIRECTORY)
  get_filename_component(paths_from ${stage} DIRECTORY)
endif()
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${paths_from}
  ${stage}/*)
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  # The source package's other formats stay as CPack made them.
  if(package MATCHES "\\.(zip|tar\\.gz)$")
    execute_process(COMMAND ${CPACK_KENO_PYTHON} ${CPACK_KENO_REPACK}
      ${package} ${paths_from} $ENV{SOURCE_DATE_EPOCH} ${files}
      RESULT_VARIABLE failed)
    # CPack would still write a checksum for the archive it made itself.
    if(failed)
      file(REMOVE ${package})
      message(FATAL_ERROR "Packing ${package} again failed: ${failed}")
    endif()
  endif()
endforeach()
