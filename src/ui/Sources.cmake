# The window library's files, a class's source and header on one line (see core/Sources.cmake).
set(UI_SOURCES
  ui/common/CachedCellDelegate.cpp ui/common/CachedCellDelegate.h
  ui/common/ChineseFaces.cpp ui/common/ChineseFaces.h
  ui/common/CodeComposition.cpp ui/common/CodeComposition.h
  ui/common/ConflictQuestion.cpp ui/common/ConflictQuestion.h
  ui/common/DriveFolderChoice.cpp ui/common/DriveFolderChoice.h
  ui/common/ElidedCellTips.cpp ui/common/ElidedCellTips.h
  ui/common/FixedRowDelegate.cpp ui/common/FixedRowDelegate.h
  ui/common/InkFit.cpp ui/common/InkFit.h
  ui/common/MenuShortcutsFirst.cpp ui/common/MenuShortcutsFirst.h
  ui/common/PlainButtons.cpp ui/common/PlainButtons.h
  ui/common/PlainMessage.cpp ui/common/PlainMessage.h
  ui/common/ScreenPlacement.cpp ui/common/ScreenPlacement.h
  ui/common/ServerWaitIndicator.cpp ui/common/ServerWaitIndicator.h
  ui/common/Twips.h
  ui/common/TwipsLayout.cpp ui/common/TwipsLayout.h
  ui/entry/ArchiveListModel.cpp ui/entry/ArchiveListModel.h
  ui/entry/ArchivePanel.cpp ui/entry/ArchivePanel.h
  ui/entry/ArchivePanelLayout.h
  ui/entry/BodyEditing.cpp ui/entry/BodyEditing.h
  ui/entry/DrugPanel.cpp ui/entry/DrugPanel.h
  ui/entry/DrugPanelLayout.h
  ui/entry/EntryFocusMemory.cpp ui/entry/EntryFocusMemory.h
  ui/entry/EntryOrder.cpp ui/entry/EntryOrder.h
  ui/entry/InjectionCard.cpp ui/entry/InjectionCard.h
  ui/entry/KeyCaption.cpp ui/entry/KeyCaption.h
  ui/entry/KeyFace.cpp ui/entry/KeyFace.h
  ui/entry/KeyboardLayout.cpp ui/entry/KeyboardLayout.h
  ui/entry/KeyboardPanel.cpp ui/entry/KeyboardPanel.h
  ui/entry/LookupList.cpp ui/entry/LookupList.h
  ui/entry/PrescriptionSheet.cpp ui/entry/PrescriptionSheet.h
  ui/entry/SheetLineEdit.cpp ui/entry/SheetLineEdit.h
  ui/entry/StoredNamesModel.cpp ui/entry/StoredNamesModel.h
  ui/entry/TypingLimitValidator.cpp ui/entry/TypingLimitValidator.h
  ui/entry/UsageKeyBar.cpp ui/entry/UsageKeyBar.h
  ui/maintenance/BackupWindow.cpp ui/maintenance/BackupWindow.h
  ui/maintenance/DrugWindow.cpp ui/maintenance/DrugWindow.h
  ui/maintenance/DrugWindowLayout.h
  ui/maintenance/OldDataImportWindow.cpp ui/maintenance/OldDataImportWindow.h
  ui/maintenance/ReferenceExchange.cpp ui/maintenance/ReferenceExchange.h
  ui/maintenance/ReferenceListModel.cpp ui/maintenance/ReferenceListModel.h
  ui/maintenance/ReferenceListView.cpp ui/maintenance/ReferenceListView.h
  ui/maintenance/ReferenceWindow.cpp ui/maintenance/ReferenceWindow.h
  ui/maintenance/ReferenceWindowLayout.h
  ui/maintenance/SettingsHolder.cpp ui/maintenance/SettingsHolder.h
  ui/maintenance/SettingsWindow.cpp ui/maintenance/SettingsWindow.h
  ui/maintenance/SettingsWindowLayout.h
  ui/maintenance/TypedEntry.cpp ui/maintenance/TypedEntry.h
  ui/maintenance/WindowControls.h
  ui/mainwindow/AboutWindow.cpp ui/mainwindow/AboutWindow.h
  ui/mainwindow/DeskActions.h
  ui/mainwindow/IdleWatch.cpp ui/mainwindow/IdleWatch.h
  ui/mainwindow/MainCommands.cpp ui/mainwindow/MainCommands.h
  ui/mainwindow/MainWindow.cpp ui/mainwindow/MainWindow.h
  ui/mainwindow/MainWindowLayout.h
  ui/mainwindow/OnlineHelp.cpp ui/mainwindow/OnlineHelp.h
  ui/mainwindow/PrescriptionDesk.cpp ui/mainwindow/PrescriptionDesk.h
  ui/mainwindow/ProgramResources.cpp ui/mainwindow/ProgramResources.h
  ui/mainwindow/ScreenLock.cpp ui/mainwindow/ScreenLock.h
  ui/mainwindow/SheetPrinting.cpp ui/mainwindow/SheetPrinting.h
  ui/mainwindow/WindowOpener.cpp ui/mainwindow/WindowOpener.h
  ui/printing/CellText.cpp ui/printing/CellText.h
  ui/printing/CellTextLabel.cpp ui/printing/CellTextLabel.h
  ui/printing/CupsConnection.cpp ui/printing/CupsConnection.h
  ui/printing/CupsDefaultPaper.cpp ui/printing/CupsDefaultPaper.h
  ui/printing/CupsJobWatch.cpp ui/printing/CupsJobWatch.h
  ui/printing/CupsPrintQueue.cpp ui/printing/CupsPrintQueue.h
  ui/printing/PainterPageDevice.cpp ui/printing/PainterPageDevice.h
  ui/printing/PdfPageDevice.cpp ui/printing/PdfPageDevice.h
  ui/printing/PicturePageDevice.cpp ui/printing/PicturePageDevice.h
  ui/printing/PreviewPages.cpp ui/printing/PreviewPages.h
  ui/printing/PrintPreviewDialog.cpp ui/printing/PrintPreviewDialog.h
  ui/printing/PrintPreviewLayout.h
  ui/printing/PrintRunner.cpp ui/printing/PrintRunner.h
  ui/printing/SpoolerPageDevice.cpp ui/printing/SpoolerPageDevice.h
  ui/printing/WindowsPrintQueue.cpp ui/printing/WindowsPrintQueue.h
  ui/printing/WindowsPrinterPageDevice.cpp ui/printing/WindowsPrinterPageDevice.h
  ui/reports/BusyPointer.cpp ui/reports/BusyPointer.h
  ui/reports/ClinicLogModel.cpp ui/reports/ClinicLogModel.h
  ui/reports/ClinicLogWindow.cpp ui/reports/ClinicLogWindow.h
  ui/reports/ClinicLogWindowLayout.h
  ui/reports/DateComboBox.cpp ui/reports/DateComboBox.h
  ui/reports/StatisticsWindow.cpp ui/reports/StatisticsWindow.h
  ui/reports/StatisticsWindowLayout.h
  ui/reports/TakingsChartWindow.cpp ui/reports/TakingsChartWindow.h
  ui/startup/AppStartup.cpp ui/startup/AppStartup.h
  ui/startup/FontSetup.cpp ui/startup/FontSetup.h
  ui/startup/LoginWindow.cpp ui/startup/LoginWindow.h
  ui/startup/LoginWindowLayout.h
  ui/startup/SmokeRun.cpp ui/startup/SmokeRun.h
  ui/startup/SmoothKaiRule.cpp ui/startup/SmoothKaiRule.h
  ui/startup/StartupProgress.cpp ui/startup/StartupProgress.h
)
