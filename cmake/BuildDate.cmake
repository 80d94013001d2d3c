# Writes the build's date into OUT from the template IN (cmake -DIN=... -DOUT=... -P BuildDate.cmake). The
# file is rewritten only when the date changed, so a build on the same day compiles nothing again.
# SOURCE_DATE_EPOCH, where set, gives the date of a reproducible build.
string(TIMESTAMP KELVANE_BUILD_DATE "%Y-%m-%d")
configure_file(${IN} ${OUT} @ONLY)
