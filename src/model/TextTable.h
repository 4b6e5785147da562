// Every text the program words, in English and Chinese (UTF-8), in one
// table: the core's messages, the editor and zr470ctl all read it, so a text
// is written once. A text takes its arguments at %1, %2 …; a core failure
// travels as its kind (and arguments) and each front end words it here.
//
// Threads: the table is constant; the functions without a language read the
// language flag of the moment.
#pragma once

#include <initializer_list>
#include <span>
#include <string>

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
    // room tuning files: reading, measurements, filter sets and their mapping
    kTxtRoomCannotRead,       // "%1": the file
    kTxtRoomCannotWrite,      // "%1": the file
    kTxtRoomTooLarge,         // "%1": the file
    kTxtRoomUtf16,
    kTxtRoomMoreNotes,        // "%1": how many notes were left out
    kTxtRoomLine,             // "%1": the line's number
    kTxtRoomNotNumber,        // "%1": the token
    kTxtRoomNotAudioBand,
    kTxtMeasureExpected,
    kTxtMeasureFrequency,     // "%1": the frequency as written
    kTxtMeasureLevel,         // "%1": the level as written
    kTxtMeasureNotRising,
    kTxtMeasureTooFew,
    kTxtSetExpectedOnOff,
    kTxtSetUnknownType,       // "%1": the type
    kTxtSetUnexpected,        // "%1": the token
    kTxtSetSlopeNeedsDb,
    kTxtSetSlopeNegative,
    kTxtSetValueMissing,
    kTxtSetFrequency,
    kTxtSetQPositive,
    kTxtSetGain,              // "%1": the gain
    kTxtSetBandwidth,         // "%1": the bandwidth
    kTxtSetPeakingNeedsQ,
    kTxtSetExpectedPreamp,
    kTxtSetCommandNotTaken,   // "%1": the command
    kTxtSetTooManyFilters,    // "%1": how many
    kTxtSetNoFilters,
    kTxtApoNoChannel,         // "%1": the channel asked for, "%2": the channels there are
    kTxtApoOneFilter,
    kTxtApoFilters,           // "%1": how many
    kTxtApoTakesAll,
    kTxtApoTakesChannel,      // "%1": the channel
    kTxtApoNotTaken,          // "%1": the section, "%2": its filters, "%3": what was taken
    kTxtMapSlope,
    kTxtMapShelfQ,            // "%1": the Q
    kTxtMapSwitchedOff,
    kTxtMapNoSuchFilter,
    kTxtMapPreamp,            // "%1": the gain
    kTxtMapBand,              // "%1": the band's number
    kTxtFitNoMeasurement,
    kTxtFitBadRange,
    kTxtFitBadBands,
    kTxtFitBadLimits,
    kTxtFitUncovered,
    // preset files, in the order of PresetFileError
    kTxtSaveSceneError,
    kTxtReadSceneError,
    kTxtSaveAllScenesError,
    kTxtReadAllScenesError,
    kTxtSavePositionError,
    kTxtReadPositionError,
    // the link and the firmware update
    kTxtLinkFailure,
    kTxtUpdateFirmware,
    kTxtDataError,            // one language
    kTxtUnConnection,         // one language
    kTxtFirmwareFailed,
    kTxtFirmwareDone,
    kTxtSearching,            // one language
    kTxtConnected,            // one language
    kTxtErasing,              // one language
    kTxtFirmwareMissing,
    kTxtHexFileError,
    kTxtNotFirmwareFile,
    // names, the report's table and its printed heading
    kTxtCharLenError,
    kTxtReportArgs,
    kTxtPolarityNormal,
    kTxtPolarityInverted,
    kTxtLinkwitzRiley,
    kTxtBessel,
    kTxtButterworth,
    kTxtPeakingKind,
    kTxtLowShelfKind,
    kTxtHighShelfKind,
    kTxtReportHeading,
    kTxtReportScene,          // "%1": the scene's name
    kTxtReportDevice,         // "%1": the processor
    kTxtReportDocName,        // "%1": the scene's name
    kTxtReportDocUnnamed,
    kTxtReportPageFormat,     // printf: page, pages
    kTxtReportFooter,         // "%1": the program, "%2": its version
    kTxtVenueTitle,           // "%1": the venue
    kTxtVenueRoom,
    kTxtVenueStatus,
    kTxtVenueScene,
    kTxtVenueIdentification,
    kTxtVenueProgress,
    kTxtVenueResult,
    kTxtVenueOnline,
    kTxtVenueOnlineForm,      // the room the main form holds
    kTxtVenueOffline,         // "%1": why
    kTxtVenueBackup,
    kTxtVenuePush,
    kTxtVenueCompare,
    kTxtVenueStop,
    kTxtVenueClose,
    kTxtVenueChooseRooms,
    kTxtVenuePushQuestion,    // "%1": the file, "%2": how many rooms
    kTxtVenueVerified,
    kTxtVenueSaved,           // "%1": the file
    kTxtVenueFailed,          // "%1": why
    kTxtVenueFailedOld,       // "%1": why
    kTxtVenueFailedNew,       // "%1": why
    kTxtVenueFailedUnknown,   // "%1": why
    kTxtVenueStopped,
    kTxtVenueCompareHow,
    kTxtVenueCompareFailed,   // "%1": why
    kTxtVenueDiffTitle,       // "%1", "%2": the two sides
    kTxtVenueDiffNone,
    kTxtVenueDiffCount,       // "%1": how many
    kTxtVenueRow,
    kTxtVenueChannel,
    kTxtVenueRefused,         // "%1": the file, "%2": the line, "%3": why
    kTxtVenueRefusedFile,     // "%1": the file, "%2": why
    kTxtVenueOpenTitle,
    kTxtVenueFolderTitle,
    // tuning with evidence: phase, sums, several positions
    kTxtRoomPositions,        // "%1": the most positions an output holds
    kTxtFiltersOnly,
    kTxtSum,
    kTxtMagnitude,
    kTxtPhase,
    kTxtGroupDelay,
    kTxtSumOf,
    kTxtKeepAsA,
    kTxtAFromFile,
    kTxtDifference,
    kTxtClearA,
    kTxtAddPosition,          // "%1": positions held, "%2": the most
    kTxtAlignAdvice,
    kTxtApplyAdvice,
    kTxtAdviceLine,           // "%1" output, "%2" ms, "%3" output, "%4" polarity, "%5", "%6" dB
    kTxtHandoverPages,
    kTxtHandoverOutput,       // "%1": the output's number, "%2": its name
    kTxtHandoverSum,          // "%1": the outputs
    kTxtHandoverLegend,
    kTxtAFromProgram,
    kTxtTooManyPositions,     // "%1": measurements chosen with those held, "%2": the most
    kTxtCount
};

struct TextPair {
    const char* szEnglish;
    const char* szChinese;
};

enum class Language { English, Chinese };

// The language the user has chosen (g_bChinese).
Language CurrentLanguage();

// Of two things made for the two languages, the one for the language of the
// moment: a background, a button face.
template <typename T>
T ByLanguage(T english, T chinese)
{
    return CurrentLanguage() == Language::Chinese ? chinese : english;
}

const TextPair& TextOf(TextId id);
// The text of a pair in the language given, or of the moment.
const char* TextIn(Language language, const TextPair& pair);
const char* TextIn(Language language, TextId id);
const char* TextNow(TextId id);

// The text in the language given (a client may want its own), or of the
// moment, with %1, %2 … replaced by the arguments. A % that names no
// argument stays as it is.
std::string SayIn(Language language, TextId id, std::initializer_list<std::string> args = {});
// The same with arguments kept with a failure's kind.
std::string SayIn(Language language, TextId id, std::span<const std::string> args);
std::string Say(TextId id, std::initializer_list<std::string> args = {});
