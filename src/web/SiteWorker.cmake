# Writes the site's service worker: the worker's script with the build's name, a hash of every file of
# the site, and the list of those files put in. Run after the rest of the site is complete, so that any
# change to any file makes a new worker and a new cache.
#   -DSITE=<site folder> -DFILES=<the site's files, relative to it> -DTEMPLATE=<worker> -DOUTPUT=<worker>
set(hashes "")
set(names "")
foreach(file IN LISTS FILES)
    file(SHA256 ${SITE}/${file} hash)
    string(APPEND hashes "${file} ${hash}\n")
    list(APPEND names "\"${file}\"")
endforeach()
string(SHA256 version "${hashes}")
string(SUBSTRING "${version}" 0 16 version)
list(JOIN names ", " names)

file(READ ${TEMPLATE} script)
string(REPLACE "@VORN_SITE_HASH@" "${version}" script "${script}")
string(REPLACE "[\"@VORN_SITE_FILES@\"]" "[${names}]" script "${script}")
file(WRITE ${OUTPUT} "${script}")
