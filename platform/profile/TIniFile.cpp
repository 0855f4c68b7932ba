#include "profile/TIniFile.h"

#include "core/Exception.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

// Profile files are UTF-8. A file left by an older installation in the Windows code page is not valid
// UTF-8; reading it as Latin-1 keeps every byte instead of turning the names into replacement marks.
QString DecodeProfileText(const QByteArray &bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return QString::fromLatin1(bytes);
    return text;
}

namespace {

// The line end the file already uses, so that rewriting it does not change every line.
QString DetectLineEnd(const QString &text) {
    const qsizetype lf = text.indexOf(QLatin1Char('\n'));
    const qsizetype cr = text.indexOf(QLatin1Char('\r'));
    if (cr >= 0 && (lf < 0 || cr < lf))
        return (cr + 1 < text.size() && text.at(cr + 1) == QLatin1Char('\n')) ? QStringLiteral("\r\n")
                                                                              : QStringLiteral("\r");
    if (lf >= 0)
        return QStringLiteral("\n");
    return QStringLiteral("\r\n");
}

// Splits at CR, LF or CR LF; a line end at the very end does not start another (empty) line.
QStringList SplitLines(const QString &text) {
    QStringList lines;
    QString current;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            lines.append(current);
            current.clear();
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
        } else {
            current.append(c);
        }
    }
    if (!current.isEmpty())
        lines.append(current);
    return lines;
}

bool SameName(const QString &a, const QString &b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Windows hands out a value enclosed in matching quotes without them.
QString Unquote(const QString &value) {
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == QLatin1Char('"') || first == QLatin1Char('\'')) && value.back() == first)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

bool IsBlank(const QString &line) {
    return line.trimmed().isEmpty();
}

} // namespace

TIniFile::TIniFile(const QString &fileName) : fileName_(fileName) {
    QFile file(fileName_);
    if (file.exists() && file.open(QIODevice::ReadOnly))
        Parse(DecodeProfileText(file.readAll()));
}

TIniFile::~TIniFile() {
    if (!dirty_)
        return;
    try {
        UpdateFile();
    } catch (...) {
        // Nothing can be reported from here; the old file stays as it was.
    }
}

void TIniFile::Parse(const QString &text) {
    lineEnd_ = DetectLineEnd(text);
    Section *current = nullptr;
    for (const QString &raw : SplitLines(text)) {
        const QString trimmed = raw.trimmed();
        if (trimmed.startsWith(QLatin1Char('['))) {
            qsizetype close = trimmed.indexOf(QLatin1Char(']'));
            if (close < 0)
                close = trimmed.size();
            sections_.push_back(Section{trimmed.mid(1, close - 1).trimmed(), raw, {}});
            current = &sections_.back();
            continue;
        }
        Line line;
        line.text = raw;
        const qsizetype eq = trimmed.indexOf(QLatin1Char('='));
        const bool comment = trimmed.startsWith(QLatin1Char(';')) || trimmed.startsWith(QLatin1Char('#'));
        if (!comment && eq > 0) {
            line.isKey = true;
            line.key = trimmed.left(eq).trimmed();
            line.value = trimmed.mid(eq + 1).trimmed();
        }
        (current ? current->lines : preamble_).push_back(std::move(line));
    }
}

QString TIniFile::Compose() const {
    QString out;
    for (const Line &line : preamble_)
        out += line.text + lineEnd_;
    for (const Section &section : sections_) {
        out += section.header + lineEnd_;
        for (const Line &line : section.lines)
            out += line.text + lineEnd_;
    }
    return out;
}

const TIniFile::Section *TIniFile::FindSection(const QString &name) const {
    for (const Section &section : sections_)
        if (SameName(section.name, name))
            return &section;
    return nullptr;
}

TIniFile::Section *TIniFile::FindSection(const QString &name) {
    return const_cast<Section *>(std::as_const(*this).FindSection(name));
}

const TIniFile::Line *TIniFile::FindKey(const Section &section, const QString &key) {
    for (const Line &line : section.lines)
        if (line.isKey && SameName(line.key, key))
            return &line;
    return nullptr;
}

const TIniFile::Line *TIniFile::Find(const QString &section, const QString &key) const {
    const Section *s = FindSection(section);
    return s ? FindKey(*s, key) : nullptr;
}

QString TIniFile::ReadString(const QString &section, const QString &key, const QString &def) const {
    const Line *line = Find(section, key);
    return line ? Unquote(line->value) : def;
}

int TIniFile::ReadInteger(const QString &section, const QString &key, int def) const {
    const Line *line = Find(section, key);
    if (!line)
        return def;
    bool ok = false;
    const int value = Unquote(line->value).trimmed().toInt(&ok, 10);
    return ok ? value : def;
}

bool TIniFile::ReadBool(const QString &section, const QString &key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TIniFile::WriteString(const QString &section, const QString &key, const QString &value) {
    dirty_ = true;
    Section *s = FindSection(section);
    if (!s) {
        // A new section goes at the end, set off from what comes before by one empty line.
        std::vector<Line> &last = sections_.empty() ? preamble_ : sections_.back().lines;
        const bool hasContent = !sections_.empty() || !preamble_.empty();
        if (hasContent && (last.empty() || !IsBlank(last.back().text)))
            last.push_back(Line{});
        sections_.push_back(Section{section, QLatin1Char('[') + section + QLatin1Char(']'), {}});
        s = &sections_.back();
    }
    for (Line &line : s->lines) {
        if (line.isKey && SameName(line.key, key)) {
            line.value = value;
            line.text = line.key + QLatin1Char('=') + value;
            return;
        }
    }
    // A new key goes after the last key or comment of its section, before the empty lines that set the
    // section off from the next one.
    auto pos = s->lines.end();
    while (pos != s->lines.begin() && IsBlank(std::prev(pos)->text))
        --pos;
    Line line;
    line.isKey = true;
    line.key = key;
    line.value = value;
    line.text = key + QLatin1Char('=') + value;
    s->lines.insert(pos, std::move(line));
}

void TIniFile::WriteInteger(const QString &section, const QString &key, int value) {
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString &section, const QString &key, bool value) {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool TIniFile::SectionExists(const QString &section) const {
    const Section *s = FindSection(section);
    if (!s)
        return false;
    for (const Line &line : s->lines)
        if (line.isKey)
            return true;
    return false;
}

bool TIniFile::ValueExists(const QString &section, const QString &key) const {
    return Find(section, key) != nullptr;
}

void TIniFile::UpdateFile() {
    if (!dirty_)
        return;
    // QSaveFile writes a temporary file beside the target and renames it over the target on commit;
    // on any failure the temporary file is removed and the old file is untouched.
    QSaveFile file(fileName_);
    if (!file.open(QIODevice::WriteOnly))
        throw Exception(QStringLiteral("Unable to write to %1 (%2)").arg(fileName_, file.errorString()));
    const QByteArray bytes = Compose().toUtf8();
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw Exception(QStringLiteral("Unable to write to %1 (%2)").arg(fileName_, file.errorString()));
    dirty_ = false;
}
