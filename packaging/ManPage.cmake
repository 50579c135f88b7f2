# Writes the manual page KPL_Presets_Config(1) from the program's own --help
# and --version output, so the page and the help never differ. Run at build
# time with cmake -P:
#   -DPROGRAM=<built program> -DOUTPUT=<page> -DSUMMARY=<one line for NAME>
#   -DDOC_DIR=<documentation folder> -DDATA_DIR=<folder of the default
#   language file> (both relative to the installation prefix)
#   -DCHANGELOG=<the package's changelog>
#
# The help is read by its layout:
#   "Usage: " and the lines under it            SYNOPSIS
#   the paragraph after them                    DESCRIPTION
#   a line at the margin ending in ":"          a heading; it names the section
#                                               the lines below it belong to
#   "  TERM  text", the text possibly on the    an entry of that section
#   lines below, indented further
#   any other line at the margin                a paragraph of that section
# A heading this script does not know stops the build, so no part of the help
# is left out of the page.
cmake_minimum_required(VERSION 3.25)

# Headings of the help and the sections of the page they open.
set(section_of_Keywords "OPTIONS")
set(section_of_Options "OPTIONS")
set(section_of_Files "FILES")
set(section_of_Environment "ENVIRONMENT")
set(section_of_Exit "EXIT STATUS")
set(page_sections "OPTIONS" "FILES" "ENVIRONMENT" "EXIT STATUS")

function(program_output option result)
  execute_process(COMMAND "${PROGRAM}" ${option} OUTPUT_VARIABLE text RESULT_VARIABLE code)
  if(NOT code EQUAL 0 OR text STREQUAL "")
    message(FATAL_ERROR "${PROGRAM} ${option} failed (${code}): no manual page")
  endif()
  set(${result} "${text}" PARENT_SCOPE)
endfunction()

# Text that roff prints as it stands: backslashes and hyphens escaped, a
# leading "." or "'" kept from reading as a request.
function(roff_text text result)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${result} "${text}" PARENT_SCOPE)
endfunction()

# The date of the page: the sources' date when SOURCE_DATE_EPOCH gives it,
# else the date of the release, the newest entry of the changelog. Never the
# day of the build, so the same sources give the same page.
function(release_date result)
  if(DEFINED ENV{SOURCE_DATE_EPOCH})
    string(TIMESTAMP date "%Y-%m-%d" UTC)
  else()
    file(STRINGS "${CHANGELOG}" trailer REGEX "^ -- " LIMIT_COUNT 1)
    if(NOT trailer MATCHES ", ([0-9][0-9]?) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
      message(FATAL_ERROR "${CHANGELOG}: no date in its newest entry")
    endif()
    set(day ${CMAKE_MATCH_1})
    set(year ${CMAKE_MATCH_3})
    set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    list(FIND months ${CMAKE_MATCH_2} month)
    math(EXPR month "${month} + 1" OUTPUT_FORMAT DECIMAL)
    string(REGEX REPLACE "^(.)$" "0\\1" month "${month}")
    string(REGEX REPLACE "^(.)$" "0\\1" day "${day}")
    set(date "${year}-${month}-${day}")
  endif()
  set(${result} "${date}" PARENT_SCOPE)
endfunction()

# Splits the help into the roff text of each part of the page: synopsis,
# description and one variable per section.
function(read_help help)
  set(part synopsis)
  set(synopsis "")
  set(description "")
  foreach(section IN LISTS page_sections)
    set("body_${section}" "")
  endforeach()
  # Walked line by line with string(FIND), not as a CMake list: the help
  # holds ";" and brackets.
  set(in_paragraph FALSE)
  string(APPEND help "\n")
  while(NOT help STREQUAL "")
    string(FIND "${help}" "\n" end)
    string(SUBSTRING "${help}" 0 ${end} line)
    math(EXPR end "${end} + 1")
    string(SUBSTRING "${help}" ${end} -1 help)

    if(part STREQUAL "synopsis")
      if(line MATCHES "^(Usage: +| +)([^ ]+)(.*)$")
        roff_text("${CMAKE_MATCH_2}" name)
        roff_text("${CMAKE_MATCH_3}" arguments)
        string(APPEND synopsis "\\fB${name}\\fR${arguments}\n")
      elseif(line STREQUAL "")
        set(part description)
      endif()
    elseif(line MATCHES "^([^ ,:]+)[^:]*:$")
      # A heading: its first word names the section. A heading that says
      # more than that name stays as the section's first paragraph.
      set(word "${CMAKE_MATCH_1}")
      if(NOT DEFINED "section_of_${word}")
        message(FATAL_ERROR "The help's heading \"${line}\" has no section of the manual page")
      endif()
      set(part "body_${section_of_${word}}")
      if(NOT line MATCHES "^[A-Za-z]+( [a-z]+)?:$")
        roff_text("${line}" line)
        string(APPEND ${part} ".PP\n${line}\n")
      endif()
      set(in_paragraph FALSE)
    elseif(line STREQUAL "")
      set(in_paragraph FALSE)
    elseif(part STREQUAL "description")
      roff_text("${line}" line)
      string(APPEND description "${line}\n")
    elseif(line MATCHES "^  ([^ ]+( [^ ]+)*)(  +(.*))?$")
      roff_text("${CMAKE_MATCH_1}" term)
      roff_text("${CMAKE_MATCH_4}" text)
      string(APPEND ${part} ".TP\n\\fB${term}\\fR\n")
      if(NOT text STREQUAL "")
        string(APPEND ${part} "${text}\n")
      endif()
      set(in_paragraph FALSE)
    elseif(line MATCHES "^   +(.*)$")
      roff_text("${CMAKE_MATCH_1}" text)
      string(APPEND ${part} "${text}\n")
    else()
      if(NOT in_paragraph)
        string(APPEND ${part} ".PP\n")
        set(in_paragraph TRUE)
      endif()
      roff_text("${line}" line)
      string(APPEND ${part} "${line}\n")
    endif()
  endwhile()

  set(synopsis "${synopsis}" PARENT_SCOPE)
  set(description "${description}" PARENT_SCOPE)
  foreach(section IN LISTS page_sections)
    set("body_${section}" "${body_${section}}" PARENT_SCOPE)
  endforeach()
endfunction()

program_output(--help help)
program_output(--version version)
string(STRIP "${version}" version)
read_help("${help}")
roff_text("${SUMMARY}" summary)
roff_text("${DOC_DIR}" doc_dir)
roff_text("${DATA_DIR}" data_dir)
release_date(date)

set(page ".TH KPL_Presets_Config 1 \"${date}\" \"${version}\" \"User Commands\"
.nh
.ad l
.SH NAME
KPL_Presets_Config \\- ${summary}
.SH SYNOPSIS
.nf
${synopsis}.fi
.SH DESCRIPTION
${description}")
foreach(section IN LISTS page_sections)
  if(body_${section} STREQUAL "")
    message(FATAL_ERROR "The help has nothing for the manual page's ${section}")
  endif()
  string(APPEND page ".SH ${section}\n${body_${section}}")
endforeach()
string(APPEND page ".SH SEE ALSO
README.md and docs/moving\\-an\\-installation.md in ${doc_dir} under the
installation prefix (/usr for the package): installing the program on a
machine, the files it works on, the logs, moving an installation of the old
engine.
.PP
${data_dir}/KPL_Presets_Config.ini under the same prefix: the default language
file, with the dialog's German texts and help texts, to be copied beside a
component's program as <component>_Config.ini.
")
file(WRITE "${OUTPUT}" "${page}")
