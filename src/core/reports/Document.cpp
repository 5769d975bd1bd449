#include "core/reports/Document.h"

#include <QFontDatabase>
#include <QFontInfo>

namespace roadtally {

QString FontTable::installedFamily(const QString &face)
{
    // The reports are laid out for the Windows faces; the Liberation faces have
    // the same metrics, so the pages come out the same.
    static const QHash<QString, QString> metricTwins = {
        {QStringLiteral("arial"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("helvetica"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("times new roman"), QStringLiteral("Liberation Serif")},
        {QStringLiteral("courier new"), QStringLiteral("Liberation Mono")},
    };
    const QString key = face.trimmed().toLower();
    const auto twin = metricTwins.constFind(key);
    if (twin == metricTwins.cend())
        return face.trimmed().isEmpty() ? QStringLiteral("Liberation Sans") : face.trimmed();
    static QHash<QString, bool> installed;
    auto known = installed.find(key);
    if (known == installed.end())
        known = installed.insert(key, QFontDatabase::hasFamily(twin.value()));
    return known.value() ? twin.value() : face.trimmed();
}

QFont FontTable::twipFont(const FontSpec &spec)
{
    QFont font(installedFamily(spec.face));
    font.setPixelSize(std::max(1, qRound(spec.size * TwipsPerPoint)));
    font.setBold(spec.bold);
    font.setItalic(spec.italic);
    // Outline metrics at the design size: the same advances on screen, paper and PDF.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::ForceOutline | QFont::PreferQuality));
    return font;
}

quint16 FontTable::index(const FontSpec &spec)
{
    for (size_t i = 0; i < m_specs.size(); ++i) {
        if (m_specs[i] == spec)
            return quint16(i);
    }
    m_specs.push_back(spec);
    m_fonts.push_back(twipFont(spec));
    m_metrics.push_back(std::make_unique<QFontMetricsF>(m_fonts.back()));
    return quint16(m_specs.size() - 1);
}

HeaderParts headerParts(const QString &text, int pageNumber)
{
    QString expanded = text;
    expanded.replace(QLatin1String("%d"), QString::number(pageNumber));
    HeaderParts parts;
    const qsizetype first = expanded.indexOf(QLatin1Char('|'));
    if (first < 0) {
        parts.left = expanded;
        return parts;
    }
    parts.left = expanded.left(first);
    const qsizetype second = expanded.indexOf(QLatin1Char('|'), first + 1);
    if (second < 0) {
        parts.centre = expanded.mid(first + 1);
        return parts;
    }
    parts.centre = expanded.mid(first + 1, second - first - 1);
    parts.right = expanded.mid(second + 1);
    return parts;
}

} // namespace roadtally
