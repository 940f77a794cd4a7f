#include "app/FileFilter.h"

#include <QStringList>

QString QtFileFilter(const QString& pairs) {
    const QStringList parts = pairs.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i < parts.size(); i += 2) {
        const QString desc = parts[i].trimmed();
        QString patterns = i + 1 < parts.size() ? parts[i + 1].trimmed() : QString();
        if (patterns.isEmpty()) patterns = QStringLiteral("*");
        QStringList list = patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : list) p = p.trimmed();
        const QString qtPatterns = list.join(QLatin1Char(' '));
        // Qt takes the patterns from the last parenthesised group of the
        // description, so a description already ending in exactly those
        // patterns is kept as it is, and any other gets them appended.
        const QString tail = QLatin1Char('(') + qtPatterns + QLatin1Char(')');
        if (desc.endsWith(tail))
            out << desc;
        else if (desc.isEmpty())
            out << tail;
        else
            out << desc + QStringLiteral(" (") + qtPatterns + QLatin1Char(')');
    }
    return out.join(QStringLiteral(";;"));
}

QString FilterSuffix(const QString& qtFilter) {
    const qsizetype open = qtFilter.lastIndexOf(QLatin1Char('('));
    const QString patterns = qtFilter.mid(open + 1).remove(QLatin1Char(')'));
    for (const QString& p : patterns.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        if (p.startsWith(QStringLiteral("*.")) && p.size() > 2 &&
            !p.mid(2).contains(QLatin1Char('*')))
            return p.mid(2);
    return QString();
}

QString DialogSuffix(const QString& defaultExt) {
    QString s = defaultExt.trimmed();
    while (s.startsWith(QLatin1Char('.'))) s.remove(0, 1);
    return s;
}
