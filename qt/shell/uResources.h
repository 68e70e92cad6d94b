#pragma once
// Pictures compiled into the program (resources/chimewick.qrc).
#include <QIcon>
#include <QImage>
#include <QString>

// A picture of the resource folder by file name ("settings.png").
QImage ResourcePicture(const QString& fileName);
// The program's icon.
QIcon ProgramIcon();
