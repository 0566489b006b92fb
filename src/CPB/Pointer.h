#pragma once
// Where the CPR Controller keeps its setup: the named areas of its memory.
#include "CPB/CPBAdr.h"

class Pointer {
public:
    enum Name {
        ICON_NUMBERS = 0,
        ICON32_0, ICON32_1, ICON32_2, ICON32_3, ICON32_4, ICON32_5,
        ICON24_0, ICON24_1, ICON24_2, ICON24_3, ICON24_4, ICON24_5,
        LANGUAGE_NUMBERS,
        LANGUAGE_TEXT_0, LANGUAGE_TEXT_1, LANGUAGE_TEXT_2,
        DEBRIEF_ALG1_LANG0, DEBRIEF_ALG2_LANG0,
        DEBRIEF_ALG1_LANG1, DEBRIEF_ALG2_LANG1,
        DEBRIEF_ALG1_LANG2, DEBRIEF_ALG2_LANG2,
        BAR_DATA_1, BAR_DATA_2,
        ALGORITHM_1, ALGORITHM_2,
        ALGORITHM_NAME_1, ALGORITHM_NAME_2,
        PLOT_DATA_1, PLOT_DATA_2,
        COMPANY_NAME,
        CONFIG_FLAGS,
        SIZE_OF
    };

    // The address of an area; a name outside the table is logged and gives
    // the first entry.
    static CPBAdr get(int name);
    // The bytes an area may hold: what is written there, or for the areas of
    // varying length (screens, company name) the distance to the next area.
    static int room(int name);
};
