#include "store/location.h"

#include <QRegularExpression>

namespace store {

bool isServerLocation(const QString& location) {
    return location.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive) ||
           location.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

QString maskedLocation(const QString& location) {
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    const QRegularExpressionMatch match = scheme.match(location);
    if (!match.hasMatch()) {
        return location;
    }
    QString out = location;
    // The authority runs up to the path, the parameters or the fragment; a password is what
    // follows the first ':' of the part before its last '@'.
    const qsizetype start = match.capturedEnd();
    qsizetype end = out.size();
    for (const QChar c : {u'/', u'?', u'#'}) {
        const qsizetype at = out.indexOf(c, start);
        if (at >= 0 && at < end) {
            end = at;
        }
    }
    const qsizetype at = out.lastIndexOf(u'@', end - 1);
    if (at >= start) {
        const qsizetype colon = out.indexOf(u':', start);
        if (colon >= 0 && colon < at) {
            out.replace(colon + 1, at - colon - 1, QStringLiteral("***"));
        }
    }
    static const QRegularExpression parameter(QStringLiteral("([?&]password=)[^&#]*"),
                                              QRegularExpression::CaseInsensitiveOption);
    out.replace(parameter, QStringLiteral("\\1***"));
    return out;
}

QString withDatabase(const QString& uri, const QString& database) {
    // postgresql://authority/database?parameters: the name sits between the path's '/' and '?'.
    const qsizetype query = uri.indexOf(u'?');
    const qsizetype end = query < 0 ? uri.size() : query;
    const qsizetype slash = uri.indexOf(u'/', uri.indexOf(QLatin1String("://")) + 3);
    const qsizetype start = slash < 0 || slash > end ? end : slash;
    return uri.left(start) + u'/' + database + uri.mid(end);
}

}  // namespace store
