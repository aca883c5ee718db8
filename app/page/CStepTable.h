// The steps of an analysis: step codes, page slots, navigation buttons and help documents.
#ifndef VELA_APP_PAGE_CSTEPTABLE_H
#define VELA_APP_PAGE_CSTEPTABLE_H

#include <QString>

/// Step codes by which the navigation, the documents and the report refer to the pages. The
/// codes convert to the int that travels in UM_GOTO_STEP and in documents.
struct Step
{
    enum Code : int {
        Blank = 995,
        Start = 1,
        ActiveData = 5,
        Spectrum = 10,
        PassiveData = 12,
        DispersionCurve = 15,
        GroundProfile = 20,
        Results = 30,
    };
};

/// Static facts about the steps; no state.
class CStepTable
{
public:
    /// Number of page slots of the main view (the slot index is the page's place in a document).
    static constexpr int SlotCount = 8;
    /// Number of steps with a navigation button (all but the blank page).
    static constexpr int ButtonStepCount = 7;

    /// Slot of a step code (995 -> 0, 1 -> 1, 5 -> 2, 10 -> 3, 12 -> 4, 15 -> 5, 20 -> 6,
    /// 30 -> 7), or -1 for an unknown code.
    static int SlotOfStep(int stepCode);
    /// Step code of a slot, or -1 outside 0..7.
    static int StepOfSlot(int slot);
    /// The step codes that have a navigation button, in the pane's order:
    /// 1, 5, 10, 12, 15, 20, 30.
    static int ButtonStep(int index);
    /// Control identifier of a step's navigation button (1004 Start ... 1007 Final results),
    /// or -1 for a step without one.
    static int ButtonIdOfStep(int stepCode);
    /// File name of the help document of a step; "VelaHelp.pdf" for any other code.
    static QString HelpDocument(int stepCode);
};

#endif // VELA_APP_PAGE_CSTEPTABLE_H
