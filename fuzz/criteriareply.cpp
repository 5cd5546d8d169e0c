// A SPECI criteria reply from the unit, stored in its table. Storing it is not an operator's
// edit: it opens no box and marks nothing as edited. The table then shows that reply alone, in
// at most 64 rows: nothing an earlier reply left in a row shows through.
//
// Input: a kind byte, then two replies separated by a line feed.

#include "app/maingui.h"
#include "fuzz/fuzzsupport.h"
#include "fuzz/windowfuzz.h"
#include "reports/criteriatablemodel.h"

namespace
{

constexpr int kMaxRows = 64;

QStringList rows(const SPECITableModel& model)
{
    QStringList texts;
    for (int i = 0; i < model.rowCount(); ++i)
        texts << model.data(model.index(i, 0)).toString() + QLatin1Char('|') +
                     model.data(model.index(i, 1), Qt::CheckStateRole).toString();
    return texts;
}

} // namespace

FUZZ_START(fuzzStartWindow)

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const int kind = in.byte() % 4;
    const QString first = QString::fromUtf8(in.upTo('\n'));
    const QString reply = QString::fromUtf8(in.rest());

    MainGUI& window = fuzzWindow();
    window.speciEdited = false;
    window.speciVisibilityChangedRows.clear();
    window.speciCeilingChangedRows.clear();
    modalBoxes() = 0;
    window.displayORVASpeciSettings(first, kind);
    window.displayORVASpeciSettings(reply, kind);
    if (kind != 1 && kind != 2)
        return 0;

    const SPECITableModel& model =
        kind == 1 ? *window.speciVisibilityModel : *window.speciCeilingModel;
    const QStringList shown = rows(model);
    QStringList blank;
    for (int i = 0; i < kMaxRows; ++i)
        blank << QStringLiteral("-1");
    window.displayORVASpeciSettings(blank.join(QLatin1Char(' ')), kind);
    window.displayORVASpeciSettings(reply, kind);

    FUZZ_CHECK(rows(model) == shown);
    FUZZ_CHECK(model.rowCount() == qMin(reply.split(QLatin1Char(' ')).size(), kMaxRows));
    FUZZ_CHECK(modalBoxes() == 0);
    FUZZ_CHECK(!window.speciEdited);
    FUZZ_CHECK(window.speciVisibilityChangedRows.isEmpty() &&
               window.speciCeilingChangedRows.isEmpty());
    return 0;
}
