# What `cmake --install` puts on a machine (and so the Debian package):
#   lib/kpl-presets-config/KPL_Presets_Config   the program; each component
#                                               folder links to it
#   bin/KPL_Presets_Config                      a link to it, for --help,
#                                               --version and --import-jet
#   share/kpl-presets-config/KPL_Presets_Config.ini
#                                               the default language file, to
#                                               be copied into each project
#   share/man/man1/KPL_Presets_Config.1.gz      the manual page, from --help
#   share/doc/kpl-presets-config/               README, docs/, copyright,
#                                               changelog.gz
#   share/lintian/overrides/kpl-presets-config  what the package check is
#                                               told to accept, and why
include(GNUInstallDirs)

set(KPL_PACKAGE_NAME kpl-presets-config)
set(KPL_INSTALL_PROGRAM_DIR lib/${KPL_PACKAGE_NAME})
set(KPL_INSTALL_DATA_DIR ${CMAKE_INSTALL_DATAROOTDIR}/${KPL_PACKAGE_NAME})
set(KPL_INSTALL_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/${KPL_PACKAGE_NAME})
set(KPL_CHANGELOG ${CMAKE_SOURCE_DIR}/packaging/changelog)
set(KPL_LANGUAGE_FILE ${CMAKE_SOURCE_DIR}/src/resources/language/KPL_Presets_Config.ini)

# A component folder without a language file gets the installed default,
# which the program finds from its own folder.
file(RELATIVE_PATH kpl_data_from_program /${KPL_INSTALL_PROGRAM_DIR} /${KPL_INSTALL_DATA_DIR})
target_compile_definitions(kpl_texts PRIVATE
    KPL_DEFAULT_LANGUAGE_FILE="${kpl_data_from_program}/KPL_Presets_Config.ini")

# The changelog's newest entry is the release this build is: its version
# must be the project's.
file(STRINGS ${KPL_CHANGELOG} kpl_changelog_head LIMIT_COUNT 1)
if(NOT kpl_changelog_head MATCHES "^${KPL_PACKAGE_NAME} \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog: its newest entry is not version ${PROJECT_VERSION}: "
      "${kpl_changelog_head}")
endif()

install(TARGETS KPL_Presets_Config RUNTIME DESTINATION ${KPL_INSTALL_PROGRAM_DIR})
install(FILES ${KPL_LANGUAGE_FILE} DESTINATION ${KPL_INSTALL_DATA_DIR})

# A stripped installation (the package's, or `cmake --install --strip`) also
# drops the compiler's notes, which a program on a machine has no use for.
if(CMAKE_STRIP)
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
          \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${KPL_INSTALL_PROGRAM_DIR}/$<TARGET_FILE_NAME:KPL_Presets_Config>\"
          COMMAND_ERROR_IS_FATAL ANY)
    endif()")
endif()

# The link, the manual page and the compressed changelog are for systems with
# symbolic links, man and gzip.
if(UNIX)
  # A relative link, so it holds under any prefix; installed as a link.
  set(kpl_bin_link ${CMAKE_BINARY_DIR}/packaging/bin/KPL_Presets_Config)
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging/bin)
  file(CREATE_LINK ../${KPL_INSTALL_PROGRAM_DIR}/KPL_Presets_Config ${kpl_bin_link} SYMBOLIC)
  install(FILES ${kpl_bin_link} DESTINATION ${CMAKE_INSTALL_BINDIR})

  # The manual page is made from the built program's own --help output, and
  # compressed without a time stamp, so the same sources give the same page.
  find_program(KPL_GZIP gzip REQUIRED)
  set(kpl_man_page ${CMAKE_BINARY_DIR}/packaging/KPL_Presets_Config.1)
  add_custom_command(OUTPUT ${kpl_man_page} ${kpl_man_page}.gz
      COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:KPL_Presets_Config>
          -DOUTPUT=${kpl_man_page} -DSUMMARY=${PROJECT_DESCRIPTION}
          -DDOC_DIR=${KPL_INSTALL_DOC_DIR} -DDATA_DIR=${KPL_INSTALL_DATA_DIR}
          -DCHANGELOG=${KPL_CHANGELOG} -P ${CMAKE_SOURCE_DIR}/packaging/ManPage.cmake
      COMMAND ${KPL_GZIP} -9nkf ${kpl_man_page}
      DEPENDS KPL_Presets_Config ${CMAKE_SOURCE_DIR}/packaging/ManPage.cmake ${KPL_CHANGELOG}
      COMMENT "Writing the manual page KPL_Presets_Config(1) from --help"
      VERBATIM)
  add_custom_target(KPL_Presets_Config_man_page ALL DEPENDS ${kpl_man_page}.gz)
  install(FILES ${kpl_man_page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

  # The program is its own upstream (a native package): its changelog is
  # changelog.gz.
  set(kpl_changelog_gz ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
  add_custom_command(OUTPUT ${kpl_changelog_gz}
      COMMAND ${KPL_GZIP} -9nc ${KPL_CHANGELOG} > ${kpl_changelog_gz}
      DEPENDS ${KPL_CHANGELOG}
      COMMENT "Compressing the changelog")
  add_custom_target(kpl_changelog ALL DEPENDS ${kpl_changelog_gz})
  install(FILES ${kpl_changelog_gz} DESTINATION ${KPL_INSTALL_DOC_DIR})
endif()

install(FILES README.md DESTINATION ${KPL_INSTALL_DOC_DIR})
install(FILES COPYRIGHT DESTINATION ${KPL_INSTALL_DOC_DIR} RENAME copyright)
install(DIRECTORY docs DESTINATION ${KPL_INSTALL_DOC_DIR})
install(FILES packaging/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides
    RENAME ${KPL_PACKAGE_NAME})
