#pragma once
// The HTML page writer every HTML export builds its page with: page head, header
// block, result tables, footer block, page tail. Lines are CP1252 with CR LF; a
// character CP1252 lacks is written as "&#N;".
//
// Cells, captions and titles are data: they are escaped, and a control character in
// them is written as a blank. The header and footer texts are the organiser's own and
// may hold mark-up, so they are written as they stand.
// The page is written under a temporary name beside the target and takes the
// target's place only at HTML_CloseFile: a page that fails half-way never replaces
// the one that was there.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

namespace tarnis {

class SafeFileWriter;

// Colour keys of section "HTML Listen".
inline const QString kHtmlSection = QStringLiteral("HTML Listen");

// The stored colour (BBGGRR as a decimal number) as six hex digits red, green, blue.
// A key not stored, or stored empty, takes the preference page's default; a stored
// text that is no number raises 13.
QString HTML_GetColor(const QString &key);

// "&", "<", ">" and '"' as entities.
QString htmlEscape(const QString &text);
// A data value as a page shows it: control characters as blanks, then escaped.
QString htmlData(const QString &text);

class HtmlWriter {
public:
    HtmlWriter();
    ~HtmlWriter();  // a page not closed is discarded; an existing file stays as it was
    HtmlWriter(const HtmlWriter &) = delete;
    HtmlWriter &operator=(const HtmlWriter &) = delete;

    // Asks before replacing an existing file; false when declined, when the file cannot
    // be created, for a write-protected file (told why) and for the open series file
    // (without a question). Never throws.
    bool HTML_OpenFile(const QString &path);
    void HTML_WriteHead(const QString &title);
    // Left, centre and right text; missing ones are empty, further ones ignored.
    void HTML_WriteHeader(const QStringList &texts);
    void HTML_BeginTable(const QStringList &headerCells, const QString &anchor, const QString &caption);
    // A cell that is empty or only blanks is shown as "-".
    void HTML_WriteRow(const QStringList &cells);
    void HTML_EndTable();
    void HTML_WriteFooter(const QStringList &texts);
    void HTML_WriteTail();
    // Writes what is left and puts the page in place; a write error raises.
    void HTML_CloseFile();

private:
    void append(const QString &text);
    void line(const QString &text);
    void line(const char *before, const QString &text, const char *after);
    void lineAscii(const char *text);
    char *extend(qsizetype bytes);  // room for that many more bytes at the end of the buffer
    void flush(bool force);
    void block(const char *anchorLine, const QStringList &texts);
    [[noreturn]] void raiseWriteError();

    std::unique_ptr<SafeFileWriter> file_;
    QByteArray buffer_;
    QString path_;
};

}  // namespace tarnis
