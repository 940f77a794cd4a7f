#include "shell/IniFile.h"

#include <QFile>

#include "base/Messages.h"
#include "base/SafeSave.h"

namespace {

QByteArray Lower(const QString& s) {
    return s.toLocal8Bit().trimmed().toLower();
}

// The value part of a "key=value" line, with blanks around it dropped and one
// pair of enclosing quotes removed, as the Windows profile reader does.
QByteArray ValueOf(const QByteArray& raw) {
    QByteArray v = raw.mid(raw.indexOf('=') + 1).trimmed();
    if (v.size() >= 2 &&
        ((v.front() == '"' && v.back() == '"') || (v.front() == '\'' && v.back() == '\'')))
        v = v.mid(1, v.size() - 2);
    return v;
}

}  // namespace

bool IniFile::Load(const QString& path, QString* error) {
    lines_.clear();
    QFile f(path);
    if (!f.exists()) return true;
    if (!f.open(QIODevice::ReadOnly)) {
        if (error) *error = msg::Text(Msg::SettingsUnreadable).arg(path, f.errorString());
        return false;
    }
    // Settings files are tiny. One too large to read is refused as a whole,
    // so that it is never written back cut off.
    constexpr qint64 Largest = qint64(16) << 20;
    if (f.size() > Largest) {
        if (error) *error = msg::Text(Msg::SettingsTooLarge).arg(path).arg(f.size());
        return false;
    }
    const QByteArray data = f.read(Largest + 1);
    if (data.size() != f.size() || data.size() > Largest) {
        if (error) *error = msg::Text(Msg::SettingsCut).arg(path, f.errorString());
        return false;
    }
    Parse(data);
    return true;
}

void IniFile::Parse(const QByteArray& data) {
    lines_.clear();
    QByteArray section;
    for (QByteArray raw : data.split('\n')) {
        if (raw.endsWith('\r')) raw.chop(1);
        Line l;
        l.raw = raw;
        const QByteArray t = raw.trimmed();
        if (t.startsWith('[')) {
            const int close = t.indexOf(']');
            section = (close > 0 ? t.mid(1, close - 1) : t.mid(1)).trimmed().toLower();
            l.header = true;
        } else if (!t.isEmpty() && t[0] != ';' && t.contains('=')) {
            l.key = t.left(t.indexOf('=')).trimmed().toLower();
        }
        l.section = section;
        lines_.push_back(l);
    }
    // split() leaves one empty piece after a final line end.
    if (!lines_.empty() && lines_.back().raw.isEmpty() && data.endsWith('\n')) lines_.pop_back();
}

int IniFile::Find(const QByteArray& section, const QByteArray& key) const {
    for (size_t i = 0; i < lines_.size(); ++i)
        if (!lines_[i].header && lines_[i].section == section && lines_[i].key == key)
            return int(i);
    return -1;
}

QString IniFile::Value(const QString& section, const QString& key, const QString& def) const {
    const int i = Find(Lower(section), Lower(key));
    return i < 0 ? def : QString::fromLocal8Bit(ValueOf(lines_[size_t(i)].raw));
}

void IniFile::SetValue(const QString& section, const QString& key, const QString& value) {
    const QByteArray sec = Lower(section), k = Lower(key);
    Line l;
    l.raw = key.toLocal8Bit() + '=' + value.toLocal8Bit();
    l.section = sec;
    l.key = k;
    const int at = Find(sec, k);
    if (at >= 0) {
        lines_[size_t(at)] = l;
        return;
    }
    // A new key goes after the last non-blank line of its section.
    int last = -1;
    for (size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].section == sec && (lines_[i].header || !lines_[i].raw.trimmed().isEmpty()))
            last = int(i);
    if (last < 0) {
        if (!lines_.empty() && !lines_.back().raw.trimmed().isEmpty()) lines_.push_back(Line{});
        Line h;
        h.raw = '[' + section.toLocal8Bit() + ']';
        h.section = sec;
        h.header = true;
        lines_.push_back(h);
        lines_.push_back(l);
        return;
    }
    lines_.insert(lines_.begin() + last + 1, l);
}

QByteArray IniFile::Text() const {
    QByteArray out;
    for (const Line& l : lines_) out += l.raw + "\r\n";
    return out;
}

bool IniFile::Save(const QString& path, QString* error) const {
    safesave::StagedFile f(path);
    const QByteArray text = Text();
    if (!f.Begin() || f.write(text) != text.size() || !f.Finish()) {
        if (error)
            *error = msg::Text(Msg::SettingsNotWritten).arg(path, safesave::Reason(f.Error()));
        return false;
    }
    QString why;
    if (!safesave::CommitAll({&f}, &why)) {
        if (error) *error = msg::Text(Msg::SettingsFile) + why;
        return false;
    }
    return true;
}
