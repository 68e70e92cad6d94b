#include "qt/shell/uE2EDump.h"

#include <QFile>
#include <QMap>
#include <QSaveFile>

namespace E2EDump {

void Set(const QString& name, const QString& value) {
    static const QString path = qEnvironmentVariable("CHIMEWICK_E2E_DUMP");
    static QMap<QString, QString> values;
    if (path.isEmpty() || (values.contains(name) && values.value(name) == value)) return;
    values.insert(name, value);
    QString text;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        QString v = it.value();
        v.replace(QLatin1Char('\n'), QLatin1String("\\n"));
        text += it.key() + QLatin1Char('=') + v + QLatin1Char('\n');
    }
    QSaveFile file(path);  // readers never see a half-written file
    if (file.open(QIODevice::WriteOnly)) {
        file.write(text.toUtf8());
        file.commit();
    }
}

}  // namespace E2EDump
