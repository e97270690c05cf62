# Every test program, one QTest executable each, by its path below tests/ without .cpp; then the
# support library the tests share. Tests under core/ link only the core library.
set(TEST_NAMES
  core/backup/TestBackupRestore
  core/backup/TestServerBackup
  core/entry/TestDrugEntryText
  core/entry/TestSheetFields
  core/entry/TestSheetLife
  core/exchange/TestCsvText
  core/exchange/TestReferenceImport
  core/maintenance/TestReferenceEntryRules
  core/oldimport/TestOldDataImport
  core/printing/TestClinicLogPrintout
  core/printing/TestInjectionCardPrintout
  core/printing/TestPrescriptionPrintout
  core/printing/TestPrintLayout
  core/records/TestMoney
  core/records/TestReferenceRows
  core/records/TestStoredNames
  core/reports/TestClinicLogExport
  core/reports/TestClinicLogQuery
  core/reports/TestClinicLogRows
  core/reports/TestReportPeriod
  core/reports/TestTakingsSeries
  core/reports/TestWorkloadStatistics
  core/rtf/TestRtf
  core/rtf/TestRtfCorpus
  core/settings/TestClinicSettings
  core/startup/TestCommandLine
  core/startup/TestDataFolderChoice
  core/startup/TestLoginCheck
  core/startup/TestPrivateModes
  core/startup/TestStartupPreparation
  core/startup/TestStockTranslations
  core/store/TestArchiveSearchIndex
  core/store/TestArchiveStore
  core/store/TestCrashDuringSaves
  core/store/TestFaultInjection
  core/store/TestLookupNames
  core/store/TestSchemaVersion
  core/store/TestSettingsStore
  core/store/TestStoreFailures
  core/store/TestStoreLocation
  core/store/file/TestNameIndex
  core/store/file/TestPreparedStatements
  core/store/file/TestStoreCopy
  core/store/server/TestCopyStream
  core/store/server/TestPostgresServer
  core/store/server/TestServerFaults
  core/store/server/TestServerImport
  core/store/server/TestServerStore
  core/text/TestCp936Codec
  core/text/TestPinyin
  package/TestPackage
  ui/common/TestCachedCellDelegate
  ui/common/TestScreenFit
  ui/entry/TestArchiveListModel
  ui/entry/TestArchiveSearch
  ui/entry/TestDrugPicker
  ui/entry/TestInputMethodLookups
  ui/entry/TestKeyboardLayout
  ui/entry/TestOnScreenKeyboard
  ui/entry/TestPrescriptionSheet
  ui/maintenance/TestBackupWindow
  ui/maintenance/TestDrugWindow
  ui/maintenance/TestOldDataImportWindow
  ui/maintenance/TestReferenceExchange
  ui/maintenance/TestReferenceWindow
  ui/maintenance/TestSettingsWindow
  ui/mainwindow/TestAboutWindow
  ui/mainwindow/TestMainWindow
  ui/mainwindow/TestScreenLock
  ui/printing/TestCupsPrinting
  ui/printing/TestPdfPageDevice
  ui/printing/TestPrintPreview
  ui/printing/TestSpoolerPageDevice
  ui/reports/TestClinicLogExportCommand
  ui/reports/TestClinicLogWindow
  ui/reports/TestStatisticsWindow
  ui/reports/TestTakingsChartWindow
  ui/startup/TestAppStartup
  ui/startup/TestLoginWindow
  ui/startup/TestSmoothKaiRule
)
set(TEST_SUPPORT
  support/ArchiveVisits.h
  support/FaultRelay.cpp support/FaultRelay.h
  support/FaultyVfs.cpp support/FaultyVfs.h
  support/FixedClock.h
  support/ListLines.h
  support/PostgresServer.cpp support/PostgresServer.h
  support/PostgresServerWindows.cpp
  support/SetUp.h
  support/StoreFaults.cpp support/StoreFaults.h
  support/StoreRows.cpp support/StoreRows.h
  support/TestProgramFolder.cpp support/TestProgramFolder.h
  support/TestStores.cpp support/TestStores.h
  support/printing/RecordingPageDevice.cpp support/printing/RecordingPageDevice.h
)
