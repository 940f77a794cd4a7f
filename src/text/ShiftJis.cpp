#include "text/ShiftJis.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace sjis {

namespace {
constexpr const char* kCodec = "windows-31j";
constexpr size_t kFieldBytes = 255;
}  // namespace

std::string_view CutToBytes(std::string_view bytes, size_t maxBytes) {
    if (bytes.size() <= maxBytes) return bytes;
    size_t i = 0;
    while (i < bytes.size()) {
        const size_t len = IsLeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
        if (i + len > maxBytes) break;
        i += len;
    }
    return bytes.substr(0, i);
}

QString ToUnicode(std::string_view bytes) {
    // The converter silently drops a lead byte cut off at the very end; show
    // it as a replacement character instead, so that nothing vanishes unseen.
    size_t whole = 0;
    while (whole < bytes.size()) {
        const size_t len = IsLeadByte(static_cast<unsigned char>(bytes[whole])) ? 2 : 1;
        if (whole + len > bytes.size()) break;
        whole += len;
    }
    QStringDecoder dec(kCodec, QStringConverter::Flag::Stateless);
    QString text = dec.decode(QByteArrayView(bytes.data(), qsizetype(whole)));
    if (whole < bytes.size()) text += QChar(QChar::ReplacementCharacter);
    return text;
}

std::string FromUnicode(const QString& text, bool* lossless) {
    QStringEncoder enc(kCodec, QStringConverter::Flag::Stateless);
    QByteArray b = enc.encode(text);
    if (!enc.hasError()) {
        if (lossless) *lossless = true;
        return std::string(b.constData(), size_t(b.size()));
    }
    // The converter's own substitute is a two-byte code that reads back as a
    // different character; go character by character and put "?" instead.
    std::string out;
    out.reserve(size_t(text.size()) * 2);
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype n =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2
                                                                                             : 1;
        QStringEncoder one(kCodec, QStringConverter::Flag::Stateless);
        const QByteArray c = one.encode(QStringView(text).mid(i, n));
        if (one.hasError() || c.isEmpty())
            out += '?';
        else
            out.append(c.constData(), size_t(c.size()));
        i += n;
    }
    if (lossless) *lossless = false;
    return out;
}

void SplitField(char sep, std::string_view source, std::string& head, std::string& rest) {
    // Walk by characters: the second byte of a two-byte character can look
    // like an ASCII separator ("\\" inside many kanji).
    size_t p = std::string_view::npos;
    for (size_t i = 0; i < source.size();) {
        if (source[i] == sep) {
            p = i;
            break;
        }
        i += IsLeadByte(static_cast<unsigned char>(source[i])) ? 2 : 1;
    }
    const std::string_view h = p == std::string_view::npos ? source : source.substr(0, p);
    const std::string_view r =
        p == std::string_view::npos ? std::string_view{} : source.substr(p + 1);
    head.assign(CutToBytes(h, kFieldBytes));
    rest.assign(CutToBytes(r, kFieldBytes));
}

}  // namespace sjis
