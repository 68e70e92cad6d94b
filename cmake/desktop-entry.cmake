# Install-time step: writes the desktop entry for the program at CHIMEWICK_PROGRAM, from the template
# CHIMEWICK_DESKTOP_IN into CHIMEWICK_DESKTOP_OUT.
#
# Exec takes a quoted argument when the path needs it: inside the quotes ", `, $ and \ get a backslash,
# and the value's own escaping then doubles every backslash; a literal % is written %%.
set(exec "${CHIMEWICK_PROGRAM}")
string(REPLACE "%" "%%" exec "${exec}")
if(exec MATCHES "[ \t\n\"'\\\\><~|&;$*?#()`=]")
  string(REPLACE "\\" "\\\\" exec "${exec}")
  string(REPLACE "\"" "\\\"" exec "${exec}")
  string(REPLACE "`" "\\`" exec "${exec}")
  string(REPLACE "$" "\\$" exec "${exec}")
  set(exec "\"${exec}\"")
  string(REPLACE "\\" "\\\\" exec "${exec}")
endif()
set(CHIMEWICK_DESKTOP_EXEC "${exec}")
configure_file("${CHIMEWICK_DESKTOP_IN}" "${CHIMEWICK_DESKTOP_OUT}" @ONLY)
