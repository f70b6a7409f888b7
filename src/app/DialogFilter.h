#pragma once
// File dialog filters: "Text File(*.txt)|*.txt|All Files(*.*)|*.*" (pairs of
// description and ';'-separated patterns) to the name filters of a Qt file
// dialog ("Text File(*.txt)", "All Files(*.*) (*)").

#include <QString>
#include <QStringList>

QStringList QtNameFilters(const QString& filter);
