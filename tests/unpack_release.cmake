# Unpacks the release archive into a fresh folder: cmake -DARCHIVE=zip -DINTO=folder -P this file.
file(REMOVE_RECURSE "${INTO}")
file(ARCHIVE_EXTRACT INPUT "${ARCHIVE}" DESTINATION "${INTO}")
