#include "qt/shell/uResources.h"

// The resources live in a static library, so they are registered by hand before first use.
static void InitResources() {
    static const bool done = [] {
        Q_INIT_RESOURCE(chimewick);
        return true;
    }();
    (void)done;
}

QImage ResourcePicture(const QString& fileName) {
    InitResources();
    return QImage(QStringLiteral(":/chimewick/") + fileName);
}

QIcon ProgramIcon() {
    InitResources();
    return QIcon(QStringLiteral(":/chimewick/icon.png"));
}
