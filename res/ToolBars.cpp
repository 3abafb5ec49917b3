#include "res/ToolBars.h"

#include "res/ResourceIds.h"

const std::vector<UINT> &LoadToolBar(UINT id)
{
    static const std::vector<UINT> full = {ID_EDIT_CUT,        ID_EDIT_COPY,    ID_EDIT_PASTE,
                                           ID_FILE_DELETE,     ID_FILE_NEWFOLDER, ID_FILE_PROPERTIES,
                                           ID_VIEW_REFRESH,    ID_SEPARATOR,    ID_TOGGLE_TOOLBAR};
    static const std::vector<UINT> toggle = {ID_TOGGLE_TOOLBAR};
    static const std::vector<UINT> none;
    switch (id) {
    case IDR_MAINFRAME: return full;
    case IDR_TOGGLEBAR: return toggle;
    default: return none;
    }
}
