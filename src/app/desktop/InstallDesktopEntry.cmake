# Install-time step: writes the menu entry for the prefix being installed into and installs
# it as <prefix>/share/applications/glimwell.desktop. GLIM_DESKTOP_TEMPLATE (the entry with
# its Exec and TryExec left open) and GLIM_DESKTOP_WORK (a folder of the build) are set by the
# install rule before this script runs.
get_filename_component(prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
set(executable "${prefix}/opt/glimwell/Glimwell")
if(executable MATCHES "[\n\r\t]")
  message(FATAL_ERROR "A menu entry cannot name a path with a line break or tab: ${executable}")
endif()

# Exec takes the path as one quoted argument: inside the quotes " ` $ and \ get a backslash
# each, and the entry's string rules then double every backslash; a % would open a field code,
# so it is doubled. TryExec is a plain string: only its backslashes are doubled.
set(argument "${executable}")
string(REPLACE "\\" "\\\\" argument "${argument}")
string(REPLACE "\"" "\\\"" argument "${argument}")
string(REPLACE "`" "\\`" argument "${argument}")
string(REPLACE "$" "\\$" argument "${argument}")
string(REPLACE "\\" "\\\\" argument "${argument}")
string(REPLACE "%" "%%" argument "${argument}")
set(GLIM_DESKTOP_EXEC "\"${argument}\"")
string(REPLACE "\\" "\\\\" GLIM_DESKTOP_TRYEXEC "${executable}")

configure_file("${GLIM_DESKTOP_TEMPLATE}" "${GLIM_DESKTOP_WORK}/glimwell.desktop" @ONLY)
file(INSTALL DESTINATION "${prefix}/share/applications" TYPE FILE
     FILES "${GLIM_DESKTOP_WORK}/glimwell.desktop")
