# SPDX-License-Identifier: MIT
# Lists the site's files in files.json, for the service worker to keep a copy of each.
#   cmake -DSITE=<folder> -P list_site.cmake
file(GLOB_RECURSE files RELATIVE ${SITE} ${SITE}/*)
list(REMOVE_ITEM files files.json)
list(SORT files)
set(json "[")
set(separator "")
foreach(file ${files})
  string(APPEND json "${separator}\"${file}\"")
  set(separator ",")
endforeach()
file(WRITE ${SITE}/files.json "${json}]\n")
