// Every text the editor shows, in English and Chinese. Tr() picks the
// language of g_bChinese at the moment the text is shown, so a message
// always follows the current language.
#pragma once

#include <QString>

enum TextId : int {
    kTxtAppTitle,             // main window title (one language)
    kTxtOff,                  // number fields: the "off" value
    kTxtSetPosError,          // spin asked for a position outside its range
    kTxtFontError,
    kTxtProgram,
    kTxtSystem,
    kTxtReport,
    kTxtAbout,
    kTxtGroupName,            // label before the scene name
    kTxtTransferTitle,        // progress dialog caption
    kTxtTransferLabel,        // progress dialog text while a batch runs
    kTxtTransferEnd,
    kTxtResetEqQuestion,      // one language
    kTxtPositionLF,           // listening positions (one language)
    kTxtPositionCF,
    kTxtPositionRF,
    kTxtPositionCR,
    kTxtHighPass,
    kTxtLowPass,
    kTxtFrequency,
    kTxtGain,
    kTxtQ,
    kTxtType,
    kTxtSlope,
    kTxtCrossover,
    kTxtOutputLevel,
    kTxtMusicVolume,
    kTxtListening,
    kTxtChannels,
    kTxtByPassAllEq,
    kTxtRestoreAllEq,
    kTxtToGraphicQuestion,    // one language
    kTxtToParametricQuestion, // one language
    // the program manager
    kTxtDeviceProgram,
    kTxtProgramId,
    kTxtProgramName,
    kTxtColumnId,
    kTxtColumnName,
    kTxtStore,
    kTxtRecall,
    kTxtDelete,
    kTxtPcProgram,
    kTxtRecallAllFromPc,
    kTxtRecallOneFromPc,
    kTxtStoreAllToPc,
    kTxtStoreOneToPc,
    kTxtNameEmpty,
    kTxtNameAllSpaces,
    kTxtNameTaken,
    kTxtDeleteQuestion,
    // the Help and firmware update dialogs
    kTxtHelp,
    kTxtFirmwareUpdate,
    kTxtNoHelpFile,
    kTxtUpgradeTitle,
    kTxtUpdateFile,
    kTxtHexFile,
    kTxtLinkPort,             // the hidden link group
    kTxtBrowse,
    kTxtUpdate,
    kTxtQuit,
    // the system settings (one language) and the delay manager
    kTxtSource,
    kTxtNoiseGate,
    kTxtLimiterMix,           // "%1": the output's number
    kTxtThresholdRow,
    kTxtAttackRow,
    kTxtReleaseRow,
    kTxtMixRow,
    kTxtDelayManager,
    // room tuning: the graph's context menu and the view's messages
    kTxtLoadMeasurement,
    kTxtClearMeasurement,
    kTxtImportFilters,
    kTxtExportFilters,
    kTxtExportSyntax,
    kTxtImportDone,           // "%1": bands, "%2": the output's number
    kTxtImportNotes,
    kTxtNoBandsToExport,
    kTxtChooseApoChannel,
    kTxtAllChannels,
    // room fit: the graph's context menu and its dialog
    kTxtFitToMeasurement,
    kTxtFitTitle,
    kTxtFitRange,
    kTxtFitBands,
    kTxtFitMaxBoost,
    kTxtFitMaxCut,
    kTxtFitTarget,
    kTxtFitFlat,
    kTxtFitTargetFile,
    kTxtFitBefore,            // "%1": RMS, "%2": largest deviation, in dB
    kTxtFitAfter,             // as kTxtFitBefore
    kTxtFitRunning,
    kTxtFitApply,
    kTxtFitCancel,
    // parameter report
    kTxtReportTitle,
    kTxtPrint,
    kTxtExportExcel,
    kTxtExportTitle,
    kTxtPrintFailed,
    kTxtReplaceFileError,
    kTxtPrintIncomplete,
    kTxtReplaceQuestion,      // "%1": the file
    // the edit history: menu entries, its window and the names of the steps
    kTxtUndoStep,  // "%1": the step's name
    kTxtRedoStep,
    kTxtUndo,
    kTxtRedo,
    kTxtHistoryMenu,
    kTxtHistoryTitle,
    kTxtHistoryStart,  // the first row of the history window
    kTxtStepChannel,  // "%1": output, "%2": what changed
    kTxtStepBand,  // "%3": the band's value
    kTxtStepKind,
    kTxtStepFrequency,
    kTxtStepGain,
    kTxtStepBypass,
    kTxtStepBandwidth,
    kTxtStepHighPass,
    kTxtStepLowPass,
    kTxtStepEqualizer,
    kTxtStepLevel,
    kTxtStepMute,
    kTxtStepPolarity,
    kTxtStepEqMode,
    kTxtStepMix,
    kTxtStepLimiter,
    kTxtStepName,
    kTxtStepMusic,
    kTxtStepLinks,
    kTxtStepDelays,
    kTxtStepSource,
    kTxtStepSeveral,
    kTxtStepRecall,
    kTxtStepLoad,  // "%1": the file's name
    kTxtStepImport,
    kTxtStepFit,
    kTxtCount
};

struct TextPair {
    const char* szEnglish;
    const char* szChinese;
};

QString Tr(TextId id);
const TextPair& TextOf(TextId id);
