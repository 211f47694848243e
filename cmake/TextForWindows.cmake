# Turns a Markdown page (or plain text) into a text file for Windows users:
#
#   cmake -DIN=page.md -DOUT=README.txt [-DVERSION=1.2.3] -P TextForWindows.cmake
#
# Headings get an underline, pictures are left out (the text says what they show),
# links keep their address in brackets, code and bold marks go, and every line ends in
# CR LF. The page must be plain ASCII: a Notepad of any age then shows it unchanged.
file(READ ${IN} text)

if(text MATCHES "[^\t\n -~]")
  message(FATAL_ERROR "${IN} holds a character outside printable ASCII")
endif()

# Pictures on a line of their own, then any left inside a line.
string(REGEX REPLACE "(^|\n)!\\[[^]\n]*\\]\\([^)\n]*\\)[ ]*(\n|$)" "\\1" text "${text}")
string(REGEX REPLACE "!\\[[^]\n]*\\]\\([^)\n]*\\)" "" text "${text}")
# Links: the words, then the address.
string(REGEX REPLACE "\\[([^]\n]*)\\]\\(([^)\n]*)\\)" "\\1 (\\2)" text "${text}")
string(REPLACE "`" "" text "${text}")
string(REPLACE "**" "" text "${text}")

# Headings: "# Title" becomes the title over a line of "=", "## Part" over "-".
string(REGEX MATCHALL "(^|\n)#+ [^\n]*" headings "${text}")
foreach(heading IN LISTS headings)
  string(REGEX REPLACE "^\n" "" heading "${heading}")
  string(REGEX MATCH "^#+" marks "${heading}")
  string(REGEX REPLACE "^#+ " "" title "${heading}")
  string(LENGTH "${title}" length)
  if(marks STREQUAL "#")
    string(REPEAT "=" ${length} rule)
    if(DEFINED VERSION)
      set(title "${title}\n${rule}\n\nVersion ${VERSION}")
      set(rule "")
    endif()
  else()
    string(REPEAT "-" ${length} rule)
  endif()
  if(rule STREQUAL "")
    set(replacement "${title}")
  else()
    set(replacement "${title}\n${rule}")
  endif()
  string(REPLACE "\n${heading}\n" "\n${replacement}\n" text "\n${text}")
  string(REGEX REPLACE "^\n" "" text "${text}")
endforeach()

string(REGEX REPLACE "\n\n\n+" "\n\n" text "${text}")
string(REGEX REPLACE "^\n+" "" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${OUT} "${text}")
