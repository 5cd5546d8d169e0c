#include "forms/formresources.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

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
        bool ok = true;
        QStringList families;
        for (const char* face : {":/fonts/Mulish-Regular.ttf", ":/fonts/Mulish-Bold.ttf"}) {
            const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(face));
            if (id < 0) {
                ok = false;
                continue;
            }
            families << QFontDatabase::applicationFontFamilies(id);
        }
        if (!families.isEmpty())
            QFont::insertSubstitution(QStringLiteral("Muli"), families.first());
        return ok;
    }();
    return loaded;
}
