#pragma once

namespace rix {

// The command ids of the menus, the toolbar and the view's buttons. The
// file, edit, view and help ids keep the values of the document framework
// the program grew up with, so that ids stored with toolbar layouts and
// recorded in macros stay meaningful.
enum TCommandId : int {
    ID_ENV_BUTTON_FIRST = 11, // envelope buttons of channels 1..8: 11..18
    ID_PLAY = 101,
    ID_PATTERN_PLAY = 102,
    ID_STOP = 103,
    ID_PLAY_FROM_CURSOR = 104,
    ID_VIEW_CUSTOMIZE = 126,
    ID_VIEW_APPLOOK_WIN_2000 = 210,
    ID_VIEW_APPLOOK_OFF_XP = 211,
    ID_VIEW_APPLOOK_WIN_XP = 212,
    ID_VIEW_APPLOOK_OFF_2003 = 213,
    ID_VIEW_APPLOOK_VS_2005 = 214,
    ID_VIEW_APPLOOK_OFF_2007_BLUE = 215,
    ID_VIEW_APPLOOK_OFF_2007_BLACK = 216,
    ID_VIEW_APPLOOK_OFF_2007_SILVER = 217,
    ID_VIEW_APPLOOK_OFF_2007_AQUA = 218,
    ID_VIEW_AUDIO_OUTPUT = 219,
    ID_VIEW_ZOOM_FIRST = 220, // View > Zoom, in the order of CZoom::Choices: 220..223
    ID_VIEW_FOLLOW_PLAYBACK = 230,
    ID_VIEW_SONG_SIZE = 231,
    ID_EXPORT_WAV = 32830,
    ID_EXPORT_CPP = 32831,
    ID_EXPORT_CPP_AS = 32832,
    ID_EXPORT_WAV_STEMS = 32840,
    ID_EXPORT_EXACT = 32841,
    ID_EXPORT_VERIFY = 32842,
    ID_HEAR_INTRO = 32843,
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_FILE_PRINT = 57607,
    ID_FILE_MRU_FILE1 = 57616, // the recent files: 57616..57631
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_UNDO = 57643,
    ID_EDIT_REDO = 57644,
    ID_APP_ABOUT = 57664,
    ID_HELP_KEYS = 57666,
    ID_APP_EXIT = 57665,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
};

constexpr int kRecentFileCount = 16;
constexpr int kDefaultApplicationLook = ID_VIEW_APPLOOK_OFF_2007_BLUE;

} // namespace rix
