# Build step: the service worker (sw.js) for the page's files, the version
# in its cache's name taken from their content, so that a new build is
# told from the last by what it holds.
# Usage: cmake -DDIR=FOLDER -DFILES="name|name|..." -DTEMPLATE=sw.js -DOUTPUT=FILE -P offline.cmake
string(REPLACE "|" ";" names "${FILES}")
set(hashes "")
set(quoted "")
foreach(name IN LISTS names)
    file(SHA256 "${DIR}/${name}" hash)
    string(APPEND hashes "${hash}")
    list(APPEND quoted "'${name}'")  # the build's own names: no quote is in any
endforeach()
string(SHA256 VERSION "${hashes}")
string(SUBSTRING "${VERSION}" 0 16 VERSION)
list(JOIN quoted ", " FILES)
configure_file("${TEMPLATE}" "${OUTPUT}" @ONLY)
