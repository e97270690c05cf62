# The core library's files, a class's source and header on one line. A file on disk that is in
# no list stops the configure step (quilloa_check_listed), so none is left out unseen.
set(CORE_SOURCES
  core/backup/BackupCatalog.cpp core/backup/BackupCatalog.h
  core/backup/BackupCopy.cpp core/backup/BackupCopy.h
  core/backup/BackupPair.cpp core/backup/BackupPair.h
  core/backup/BackupRestore.cpp core/backup/BackupRestore.h
  core/backup/BackupSource.h
  core/backup/ReadOnlyStore.cpp core/backup/ReadOnlyStore.h
  core/backup/RestoreJournal.cpp core/backup/RestoreJournal.h
  core/backup/ServerBackup.cpp core/backup/ServerBackup.h
  core/entry/ComposedCode.cpp core/entry/ComposedCode.h
  core/entry/DrugEntryText.cpp core/entry/DrugEntryText.h
  core/entry/KeyboardKeys.cpp core/entry/KeyboardKeys.h
  core/entry/SheetFields.cpp core/entry/SheetFields.h
  core/entry/SheetGeometry.cpp core/entry/SheetGeometry.h
  core/entry/SheetLife.cpp core/entry/SheetLife.h
  core/exchange/CsvText.cpp core/exchange/CsvText.h
  core/exchange/FileWriteStatus.cpp core/exchange/FileWriteStatus.h
  core/exchange/ImportColumns.cpp core/exchange/ImportColumns.h
  core/exchange/ReferenceCsvExport.cpp core/exchange/ReferenceCsvExport.h
  core/exchange/ReferenceImport.cpp core/exchange/ReferenceImport.h
  core/exchange/TextDecoding.cpp core/exchange/TextDecoding.h
  core/files/FileSystemKind.cpp core/files/FileSystemKind.h
  core/files/FileSystemKindWindows.cpp
  core/files/LockHolder.cpp core/files/LockHolder.h
  core/files/PrivateFiles.cpp core/files/PrivateFiles.h
  core/files/SiblingTempFile.cpp core/files/SiblingTempFile.h
  core/maintenance/DrugEntryFields.cpp core/maintenance/DrugEntryFields.h
  core/maintenance/EntryCodeRules.cpp core/maintenance/EntryCodeRules.h
  core/maintenance/ReferenceLines.cpp core/maintenance/ReferenceLines.h
  core/oldimport/ImportCounts.h
  core/oldimport/ImportReport.cpp core/oldimport/ImportReport.h
  core/oldimport/ImportWriter.cpp core/oldimport/ImportWriter.h
  core/oldimport/JetFile.h
  core/oldimport/JetFilePath.cpp core/oldimport/JetFilePath.h
  core/oldimport/JetFilePathWindows.cpp
  core/oldimport/JetHeader.cpp core/oldimport/JetHeader.h
  core/oldimport/JetStatus.cpp core/oldimport/JetStatus.h
  core/oldimport/JetText.cpp core/oldimport/JetText.h
  core/oldimport/JetValue.h
  core/oldimport/LockedStoreCopy.cpp core/oldimport/LockedStoreCopy.h
  core/oldimport/MdbJetFile.cpp core/oldimport/MdbJetFile.h
  core/oldimport/OldData.h
  core/oldimport/OldDataImport.cpp core/oldimport/OldDataImport.h
  core/oldimport/OldDataReader.cpp core/oldimport/OldDataReader.h
  core/oldimport/OldFolder.cpp core/oldimport/OldFolder.h
  core/printing/AlignmentPrintout.cpp core/printing/AlignmentPrintout.h
  core/printing/BodyLines.cpp core/printing/BodyLines.h
  core/printing/BodySheets.cpp core/printing/BodySheets.h
  core/printing/ClinicLogPrintout.cpp core/printing/ClinicLogPrintout.h
  core/printing/FieldFit.cpp core/printing/FieldFit.h
  core/printing/InjectionCardPrintout.cpp core/printing/InjectionCardPrintout.h
  core/printing/PageDevice.cpp core/printing/PageDevice.h
  core/printing/PaperSetup.cpp core/printing/PaperSetup.h
  core/printing/PrescriptionPrintout.cpp core/printing/PrescriptionPrintout.h
  core/printing/PrintJobName.cpp core/printing/PrintJobName.h
  core/printing/PrintMargins.cpp core/printing/PrintMargins.h
  core/printing/PrintQueue.cpp core/printing/PrintQueue.h
  core/printing/SheetFaceMetrics.cpp core/printing/SheetFaceMetrics.h
  core/printing/SheetTitle.cpp core/printing/SheetTitle.h
  core/records/Money.cpp core/records/Money.h
  core/records/PrescriptionRecord.cpp core/records/PrescriptionRecord.h
  core/records/ReferenceEntry.cpp core/records/ReferenceEntry.h
  core/records/ReferenceRows.cpp core/records/ReferenceRows.h
  core/records/SettingsRecord.h
  core/records/StoredNames.cpp core/records/StoredNames.h
  core/records/StoredTextBlocks.cpp core/records/StoredTextBlocks.h
  core/records/VisitDates.h
  core/reports/ClinicLogCsvWriter.cpp core/reports/ClinicLogCsvWriter.h
  core/reports/ClinicLogFormat.cpp core/reports/ClinicLogFormat.h
  core/reports/ClinicLogQuery.cpp core/reports/ClinicLogQuery.h
  core/reports/ClinicLogRow.cpp core/reports/ClinicLogRow.h
  core/reports/ClinicLogRows.cpp core/reports/ClinicLogRows.h
  core/reports/ClinicLogSheet.cpp core/reports/ClinicLogSheet.h
  core/reports/ClinicLogWriter.h
  core/reports/ClinicLogXlsxWriter.cpp core/reports/ClinicLogXlsxWriter.h
  core/reports/DateChoices.cpp core/reports/DateChoices.h
  core/reports/ReportPeriod.cpp core/reports/ReportPeriod.h
  core/reports/TakingsSeries.cpp core/reports/TakingsSeries.h
  core/reports/WorkloadStatistics.cpp core/reports/WorkloadStatistics.h
  core/reports/WorkloadTotals.cpp core/reports/WorkloadTotals.h
  core/rtf/RtfDocument.cpp core/rtf/RtfDocument.h
  core/rtf/RtfReader.cpp core/rtf/RtfReader.h
  core/rtf/RtfWriter.cpp core/rtf/RtfWriter.h
  core/settings/ClinicSettings.cpp core/settings/ClinicSettings.h
  core/settings/IdleLockSetting.cpp core/settings/IdleLockSetting.h
  core/startup/AppContext.cpp core/startup/AppContext.h
  core/startup/BackgroundWork.cpp core/startup/BackgroundWork.h
  core/startup/Clock.h
  core/startup/CommandLine.cpp core/startup/CommandLine.h
  core/startup/DataFolder.cpp core/startup/DataFolder.h
  core/startup/DataFolderChoice.cpp core/startup/DataFolderChoice.h
  core/startup/KeyDerivation.cpp core/startup/KeyDerivation.h
  core/startup/KeyDerivationWindows.cpp
  core/startup/LoginCheck.cpp core/startup/LoginCheck.h
  core/startup/PasswordHash.cpp core/startup/PasswordHash.h
  core/startup/StartupPreparation.cpp core/startup/StartupPreparation.h
  core/startup/StockTranslations.cpp core/startup/StockTranslations.h
  core/store/ArchiveStore.cpp core/store/ArchiveStore.h
  core/store/LockWait.h
  core/store/SchemaVersion.cpp core/store/SchemaVersion.h
  core/store/SettingsStore.cpp core/store/SettingsStore.h
  core/store/StoreColumns.cpp core/store/StoreColumns.h
  core/store/StoreConnection.cpp core/store/StoreConnection.h
  core/store/StoreLimits.cpp core/store/StoreLimits.h
  core/store/StoreLocation.cpp core/store/StoreLocation.h
  core/store/StoreMessage.cpp core/store/StoreMessage.h
  core/store/StorePaths.cpp core/store/StorePaths.h
  core/store/StoreResult.cpp core/store/StoreResult.h
  core/store/StoreTables.cpp core/store/StoreTables.h
  core/store/SystemFault.cpp core/store/SystemFault.h
  core/store/UnsettledSave.cpp core/store/UnsettledSave.h
  core/store/file/DirectRows.cpp core/store/file/DirectRows.h
  core/store/file/FileRowWriter.cpp core/store/file/FileRowWriter.h
  core/store/file/NameIndex.cpp core/store/file/NameIndex.h
  core/store/file/NameIndexBuilder.cpp core/store/file/NameIndexBuilder.h
  core/store/file/PreparedStatements.cpp core/store/file/PreparedStatements.h
  core/store/file/StoreCopy.cpp core/store/file/StoreCopy.h
  core/store/file/StoreDamage.cpp core/store/file/StoreDamage.h
  core/store/file/StoreReplacement.cpp core/store/file/StoreReplacement.h
  core/store/file/StoreSchema.cpp core/store/file/StoreSchema.h
  core/store/server/ConnectionFailure.cpp core/store/server/ConnectionFailure.h
  core/store/server/CopyStream.cpp core/store/server/CopyStream.h
  core/store/server/PasswordFileLocation.cpp core/store/server/PasswordFileLocation.h
  core/store/server/PasswordFileLocationWindows.cpp
  core/store/server/ServerCalls.cpp core/store/server/ServerCalls.h
  core/store/server/ServerClock.cpp core/store/server/ServerClock.h
  core/store/server/ServerConnection.cpp core/store/server/ServerConnection.h
  core/store/server/ServerDriver.cpp core/store/server/ServerDriver.h
  core/store/server/ServerExport.cpp core/store/server/ServerExport.h
  core/store/server/ServerGuards.cpp core/store/server/ServerGuards.h
  core/store/server/ServerImport.cpp core/store/server/ServerImport.h
  core/store/server/ServerPreparation.cpp core/store/server/ServerPreparation.h
  core/store/server/ServerResult.cpp core/store/server/ServerResult.h
  core/store/server/ServerSchema.cpp core/store/server/ServerSchema.h
  core/store/server/ServerSearch.cpp core/store/server/ServerSearch.h
  core/store/server/ServerSearchIndex.cpp core/store/server/ServerSearchIndex.h
  core/store/server/ServerSession.cpp core/store/server/ServerSession.h
  core/store/server/ServerWait.cpp core/store/server/ServerWait.h
  core/store/server/ServerWaitHook.h
  core/store/sql/BoundQuery.cpp core/store/sql/BoundQuery.h
  core/store/sql/RowPump.cpp core/store/sql/RowPump.h
  core/store/sql/ScopedConnection.cpp core/store/sql/ScopedConnection.h
  core/store/sql/StoreSql.cpp core/store/sql/StoreSql.h
  core/store/sql/VisitStatements.cpp core/store/sql/VisitStatements.h
  core/text/Cp936Codec.cpp core/text/Cp936Codec.h
  core/text/Cp936Conversion.cpp core/text/Cp936Conversion.h
  core/text/Cp936ConversionWindows.cpp
  core/text/HalfWidth.cpp core/text/HalfWidth.h
  core/text/Pinyin.cpp core/text/Pinyin.h
  core/text/SecretMask.cpp core/text/SecretMask.h
)
