# Writes the page's service worker, its cache named after the build: the start of a SHA-256 over
# the names and contents of the page's files, so that any change to one of them names a new cache.
# Run by the build as a script: cmake -DPAGE=DIR -DFILES=a,b,... -DTEMPLATE=FILE -P this file.
string(REPLACE "," ";" files "${FILES}")
set(digests "")
set(quoted "")
foreach(name IN LISTS files)
  file(SHA256 ${PAGE}/${name} digest)
  string(APPEND digests "${name} ${digest}\n")
  list(APPEND quoted "'${name}'")
endforeach()
string(SHA256 build "${digests}")
string(SUBSTRING ${build} 0 16 GAME_PAGE_BUILD)
list(JOIN quoted ", " GAME_PAGE_FILES)
configure_file(${TEMPLATE} ${PAGE}/service_worker.js @ONLY)
