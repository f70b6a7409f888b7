#include "app/DialogFilter.h"

QStringList QtNameFilters(const QString& filter) {
  QStringList result;
  const QStringList parts = filter.split(QLatin1Char('|'));
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    const QString description = parts[i].trimmed();
    QStringList patterns;
    for (const QString& p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
      // "*.*" means every file; here it would miss the names without a dot.
      patterns.append(p.trimmed() == QLatin1String("*.*") ? QStringLiteral("*") : p.trimmed());
    }
    const QString list = patterns.join(QLatin1Char(' '));
    // The dialog reads the patterns from the last parentheses.
    if (description.endsWith(QLatin1Char('(') + list + QLatin1Char(')')))
      result.append(description);
    else
      result.append(description + QStringLiteral(" (") + list + QLatin1Char(')'));
  }
  return result;
}
