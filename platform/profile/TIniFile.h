#pragma once
// A profile file as Windows keeps them: "[Section]" lines and "Key=Value" lines below them.
//
// Sections and keys are found without regard to case. The file is read once, when the object is made;
// writes go to memory and UpdateFile() replaces the whole file at once (a temporary file renamed over
// the old one), so a crash never leaves half a file behind. An existing file keeps its order, its
// comments and any line we do not understand; new sections and keys are appended in the order they are
// first written. The destructor writes pending changes.
#include <QString>
#include <vector>

// Text of a profile or list file: UTF-8, or Latin-1 for a file an older installation wrote in the
// Windows code page, so no byte is lost.
QString DecodeProfileText(const QByteArray &bytes);

class TIniFile {
  public:
    // Reads the file when it exists (UTF-8). A missing file is an empty profile.
    explicit TIniFile(const QString &fileName);
    // Writes pending changes; never throws.
    ~TIniFile();
    TIniFile(const TIniFile &) = delete;
    TIniFile &operator=(const TIniFile &) = delete;

    const QString &FileName() const { return fileName_; }

    // The value of a key, or `def` when the section or key is missing. A value enclosed in a pair of
    // matching single or double quotes is returned without them, as Windows reads profile values.
    QString ReadString(const QString &section, const QString &key, const QString &def) const;
    // A decimal whole number; a missing key, an empty value or one that is not a whole number gives `def`.
    int ReadInteger(const QString &section, const QString &key, int def) const;
    // True for any whole number other than 0; a value that is not a whole number gives `def`.
    bool ReadBool(const QString &section, const QString &key, bool def) const;

    void WriteString(const QString &section, const QString &key, const QString &value);
    void WriteInteger(const QString &section, const QString &key, int value);
    // Writes 1 or 0.
    void WriteBool(const QString &section, const QString &key, bool value);

    // A section exists when it holds at least one key.
    bool SectionExists(const QString &section) const;
    bool ValueExists(const QString &section, const QString &key) const;

    // Writes the whole file when something changed since it was read or last written. Throws Exception
    // naming the file when it cannot be written; the old file is then left as it was.
    void UpdateFile();

  private:
    // One line of the file. Key lines keep their original text until their value is written, so an
    // untouched line goes back to disk exactly as it was read.
    struct Line {
        bool isKey = false;
        QString key;   // trimmed key of a key line
        QString value; // trimmed value of a key line
        QString text;  // the line as it stands in the file
    };
    struct Section {
        QString name;
        QString header; // the "[name]" line as it stands in the file
        std::vector<Line> lines;
    };

    const Section *FindSection(const QString &name) const;
    Section *FindSection(const QString &name);
    static const Line *FindKey(const Section &section, const QString &key);
    const Line *Find(const QString &section, const QString &key) const;
    void Parse(const QString &text);
    QString Compose() const;

    QString fileName_;
    QString lineEnd_ = QStringLiteral("\r\n");
    std::vector<Line> preamble_; // lines before the first section
    std::vector<Section> sections_;
    bool dirty_ = false;
};
