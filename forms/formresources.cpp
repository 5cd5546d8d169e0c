#include "forms/formresources.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>
#include <QVector>

// Q_INIT_RESOURCE must be used outside any namespace.
static void initResourcesOnce()
{
    Q_INIT_RESOURCE(resources);
}

void initFormResources()
{
    static const bool done = (initResourcesOnce(), true);
    Q_UNUSED(done)
}

bool registerFormFonts()
{
    initFormResources();
    // Loading a face twice would register it twice; the first result stands.
    static const bool loaded = [] {
        const struct {
            const char* family; // as the forms and style sheets name it; null: fallback only
            QVector<const char*> faces;
        } bundled[] = {
            {"Muli", {":/fonts/Mulish-Regular.ttf", ":/fonts/Mulish-Bold.ttf"}},
            {"Arial", {":/fonts/LiberationSans-Regular.ttf", ":/fonts/LiberationSans-Bold.ttf"}},
            // The command status marks (queued, done, failed); few installed fonts have them,
            // and without them every status shows as the same empty box.
            {nullptr, {":/fonts/NotoEmoji-Regular.ttf"}},
        };
        bool ok = true;
        for (const auto& font : bundled) {
            QString family;
            for (const char* face : font.faces) {
                const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(face));
                if (id < 0)
                    ok = false;
                else
                    family = QFontDatabase::applicationFontFamilies(id).value(0);
            }
            // Used only where the named family is not installed.
            if (font.family && !family.isEmpty())
                QFont::insertSubstitution(QString::fromLatin1(font.family), family);
        }
        return ok;
    }();
    return loaded;
}
