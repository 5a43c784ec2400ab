# Sets ZONKY_DESKTOP_EXEC to ZONKY_LAUNCHER written as the Exec key of a desktop entry wants
# it: a path with a reserved character is quoted, and quoting escapes are doubled once more
# by the key file's own string escapes. Run at install time, when the prefix is known.
if(ZONKY_LAUNCHER MATCHES "[\n\r]")
  message(FATAL_ERROR "a desktop entry cannot name a launcher whose path holds a line break")
endif()
set(ZONKY_DESKTOP_EXEC "${ZONKY_LAUNCHER}")
string(REPLACE "%" "%%" ZONKY_DESKTOP_EXEC "${ZONKY_DESKTOP_EXEC}")
if(ZONKY_DESKTOP_EXEC MATCHES "[ \t\"'\\\\<>~|&;$*?#`()]")
  # Inside the quotes: \ " ` $ take a backslash; then every backslash is doubled for the file.
  string(REGEX REPLACE "([\\\\\"`$])" "\\\\\\1" ZONKY_DESKTOP_EXEC "${ZONKY_DESKTOP_EXEC}")
  string(REPLACE "\\" "\\\\" ZONKY_DESKTOP_EXEC "${ZONKY_DESKTOP_EXEC}")
  set(ZONKY_DESKTOP_EXEC "\"${ZONKY_DESKTOP_EXEC}\"")
endif()
