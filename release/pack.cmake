# Writes the release archive that launcher users unpack into their plug-in folder. Run as
#   cmake -DVERSION=... -DDLL=... -DTOOL=... -DINI=... -DREADME=... -DLICENSE=... -DSTAGE=dir
#         -DARCHIVE=path.zip -DOBJCOPY=... -DSYMBOLS=dir -P pack.cmake
# The texts are kept in UTF-8 for editing; users' Windows reads them as Shift-JIS with CR LF.
cmake_minimum_required(VERSION 3.25)

find_program(ICONV iconv REQUIRED)

# UTF-8 text with any line ends -> code page 932 with CR LF; iconv refuses a character that the
# code page lacks, so such a text fails the build instead of reaching users garbled.
function(write_windows_text text target)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE "${target}.utf8" "${text}")
  execute_process(COMMAND "${ICONV}" -f UTF-8 -t CP932 -o "${target}" "${target}.utf8" COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE "${target}.utf8")
endfunction()

# Users get the binaries without the debug information and symbols that the static run-time
# brings along (more than half of their size); the build keeps them in SYMBOLS as NAME.debug, which
# the shipped file names by a debug link, so that a crash address from a user can be resolved.
function(copy_stripped binary name)
  set(symbols "${SYMBOLS}/${name}.debug")
  execute_process(COMMAND "${OBJCOPY}" --only-keep-debug "${binary}" "${symbols}" COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND "${OBJCOPY}" --strip-all "--add-gnu-debuglink=${symbols}" "${binary}" "${STAGE}/${name}"
                  COMMAND_ERROR_IS_FATAL ANY)
endfunction()

file(REMOVE_RECURSE "${STAGE}" "${SYMBOLS}")
file(MAKE_DIRECTORY "${STAGE}" "${SYMBOLS}")
copy_stripped("${DLL}" swivo_p.dll)
copy_stripped("${TOOL}" swivo-tasks.exe)

file(READ "${INI}" ini)
write_windows_text("${ini}" "${STAGE}/swivo_p.ini")

file(READ "${README}" readme)
file(READ "${LICENSE}" license)
string(REPLACE "@VERSION@" "${VERSION}" readme "${readme}")
string(REPLACE "@LICENSE@" "${license}" readme "${readme}")
write_windows_text("${readme}" "${STAGE}/readme.txt")

# Only the archive of this version stays in its folder.
get_filename_component(folder "${ARCHIVE}" DIRECTORY)
file(GLOB old "${folder}/swivo_p-*.zip")
file(REMOVE ${old} "${ARCHIVE}")
execute_process(
  COMMAND "${CMAKE_COMMAND}" -E tar cf "${ARCHIVE}" --format=zip readme.txt swivo_p.dll swivo_p.ini swivo-tasks.exe
  WORKING_DIRECTORY "${STAGE}" COMMAND_ERROR_IS_FATAL ANY)
