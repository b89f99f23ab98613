#pragma once

namespace ombrel {

/// Identifiers of the main window's controls and commands; a command carries the identifier of
/// what sent it, and a window closed by a command exits with that identifier.
enum CommandId : int {
    // Controls of the main window.
    IdFileNameBox = 1000,
    IdIntervalBox = 1001,
    IdStart = 1002,
    IdPrintButton = 1003,
    IdHead = 1004,
    IdCountBox = 1005,
    IdBrowse = 1006,
    IdFileNameLabel = 1014,
    IdIntervalLabel = 1015,
    IdCountLabel = 1016,
    IdDisplay = 1017,
    IdExitPause = 1018,
    IdApplicationLog = 1034,
    IdSystemLog = 1035,
    IdDataGroup = 1036,
    IdDisplayGroup = 1037,
    IdComputerLabel = 1038,
    IdComputerBox = 1039,
    IdStatusBar = 0xE801,

    // Commands.
    IdCancel = 2,
    IdRestore = 207,
    IdMinimize = 208,
    IdOptions = 209,
    IdTrayAbout = 210,
    IdNewOptions = 221,
    IdHideControls = 4000,
    IdPrint = 4016,
    IdWindowFont = 4032,
    IdSystemOptions = 4048,
    IdLaunchEditor = 4064,
    IdLaunchNew = 4080,
    IdHelp = 4096,
    IdCopy = 4112,
    IdSelectAll = 4128,
    IdFind = 4144,
    IdFindNext = 4160,
    IdFindPrevious = 4176,
    IdNextMark = 4192,
    IdPreviousMark = 4208,
    IdTrayLaunchEditor = 32772,
    IdExit = 32773,
    IdTrayStartPause = 32774,
    IdWebsite = 32777,
    IdForum = 32778,
    IdCheckUpdates = 32779,
    IdAbout = 57664,
};

} // namespace ombrel
