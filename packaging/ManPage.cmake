# Writes the manual page KPL_Presets_Config(1) from the program's own --help
# and --version output, so the page and the help never differ. Run at build
# time with cmake -P:
#   -DPROGRAM=<built program> -DOUTPUT=<page> -DSUMMARY=<one line for NAME>
#   -DDOC_DIR=<documentation folder, relative to the installation prefix>

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

program_output(--help help)
program_output(--version version)
string(STRIP "${help}" help)
string(STRIP "${version}" version)
roff_text("${help}" help)
roff_text("${SUMMARY}" summary)
roff_text("${DOC_DIR}" doc_dir)
# The date of the sources when SOURCE_DATE_EPOCH gives it, for reproducible
# packages.
string(TIMESTAMP date "%Y-%m-%d" UTC)

file(WRITE "${OUTPUT}" ".TH KPL_Presets_Config 1 \"${date}\" \"${version}\" \"User Commands\"
.nh
.SH NAME
KPL_Presets_Config \\- ${summary}
.SH DESCRIPTION
.nf
${help}
.fi
.SH SEE ALSO
README.md in ${doc_dir} under the installation prefix (/usr for the package):
installing the program on a machine, the files it works on, the logs.
")
