// A small reader and writer of profile (INI) files as Windows programs write
// them: "[Section]" lines and plain "key=value" lines, no quoting and no
// escapes, so a value may hold commas. Names match without regard to case.
// Everything not touched - other sections, other keys, comments - is written
// back as it was read.
#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

class IniFile {
  public:
    // A missing file is an empty profile (returns true); a file that exists
    // but cannot be read sets error and returns false.
    bool Load(const QString& path, QString* error);
    // The profile held in data (what Load does once the file is read).
    void Parse(const QByteArray& data);
    // The value of section/key, or def when there is none.
    QString Value(const QString& section, const QString& key, const QString& def) const;
    void SetValue(const QString& section, const QString& key, const QString& value);
    // The whole profile as it would be written (CR LF line ends).
    QByteArray Text() const;
    // Written through a temporary file, so a failure keeps the old one.
    bool Save(const QString& path, QString* error) const;

  private:
    struct Line {
        QByteArray raw;      // the line without its line end
        QByteArray section;  // lower-cased section the line belongs to
        QByteArray key;      // lower-cased key of a key=value line, else empty
        bool header = false;
    };
    int Find(const QByteArray& section, const QByteArray& key) const;
    std::vector<Line> lines_;
};
