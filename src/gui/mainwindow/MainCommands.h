// Command identifiers of the main window's menu items and keys.
#pragma once

enum MainCommand : int {
  kCmdAbout = 32750,
  kCmdExit = 32751,
  kCmdShowConsole = 32760,
  kCmdExportHeaders = 32788,
  kCmdImportHeaders = 32793,
  kCmdSpectrum = 32808,
  kCmdFreqFilter = 32810,
  kCmdDumpHeaders = 32815,
  kCmdManual = 32817,
  kCmdSortTraces = 32819,
  kCmdResample = 32821,
  kCmdFileSelector = 32823,
  kCmdBasemap = 32825,
  kCmdShiftTraces = 32828,
  kCmdSelectiveStack = 32838,
  kCmdSnapshot = 32845,
  kCmdBinning2D = 32847,
  kCmdSaveDataset = 32853,
  kCmdLoadDataset = 32854,
  kCmdHeaderMapping = 32870,
  kCmdOpenTolerantly = 32856,
  kCmdParameters = 1,  // F9 only, no menu item
};
