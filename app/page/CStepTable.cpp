#include "app/page/CStepTable.h"

namespace {

struct StepRow
{
    int step;
    int buttonId;
    const char *helpDocument;
};

// In slot order: the slot index is the row index.
constexpr StepRow StepRows[CStepTable::SlotCount] = {
    { Step::Blank, -1, nullptr },
    { Step::Start, 1004, "SchermataPrincipale.pdf" },
    { Step::ActiveData, 1005, "SchermataAnalisiDeiDatiSperimentali.pdf" },
    { Step::Spectrum, 1008, "SchermataCalcoloCurvaDiDispersione.pdf" },
    { Step::PassiveData, 1012, "SchermataAnalisiPassiva.pdf" },
    { Step::DispersionCurve, 1006, "SchermataSelezioneCurvaDiDispersioneSperimentale.pdf" },
    { Step::GroundProfile, 1009, "SchermataCalcoloDelProfilo.pdf" },
    { Step::Results, 1007, "SchermataRisultatiFinali.pdf" },
};

} // namespace

int CStepTable::SlotOfStep(int stepCode)
{
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (StepRows[slot].step == stepCode)
            return slot;
    }
    return -1;
}

int CStepTable::StepOfSlot(int slot)
{
    return slot >= 0 && slot < SlotCount ? StepRows[slot].step : -1;
}

int CStepTable::ButtonStep(int index)
{
    // The blank page (slot 0) has no button; the others follow in slot order.
    return index >= 0 && index < ButtonStepCount ? StepRows[index + 1].step : -1;
}

int CStepTable::ButtonIdOfStep(int stepCode)
{
    const int slot = SlotOfStep(stepCode);
    return slot < 0 ? -1 : StepRows[slot].buttonId;
}

QString CStepTable::HelpDocument(int stepCode)
{
    const int slot = SlotOfStep(stepCode);
    if (slot < 0 || StepRows[slot].helpDocument == nullptr)
        return QStringLiteral("VelaHelp.pdf");
    return QString::fromLatin1(StepRows[slot].helpDocument);
}
