#pragma once

#include <cstdint>

namespace quolix {

// Command identifiers. The program's own commands, then the framework's
// standard ones that the menus, toolbar and accelerators use.
enum CommandId : uint32_t {
    ID_SET_ENVIRONMENT = 32771,
    ID_EDIT_COMMENT = 32773,
    ID_DATA_PAUSE = 32774,
    ID_DATA_START = 32775,
    ID_PORT_CONNECT = 32777,
    ID_PORT_DISCONNECT = 32778,

    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_FILE_PRINT_SETUP = 57606,
    ID_FILE_PRINT = 57607,
    ID_FILE_PRINT_DIRECT = 57608,
    ID_FILE_PRINT_PREVIEW = 57609,
    ID_FILE_MRU_FILE1 = 57616,
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_UNDO = 57643,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_NEXT_PANE = 57680,
    ID_PREV_PANE = 57681,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
};

}  // namespace quolix
