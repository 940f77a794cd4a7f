#include "text/ShiftJis.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace sjis {

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
    QStringDecoder dec("windows-31j");
    return dec.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
}

std::string FromUnicode(const QString& text) {
    QStringEncoder enc("windows-31j");
    QByteArray b = enc.encode(text);
    return std::string(b.constData(), size_t(b.size()));
}

void SplitField(char sep, std::string_view source, std::string& head, std::string& rest) {
    const auto p = source.find(sep);
    std::string_view h = p == std::string_view::npos ? source : source.substr(0, p);
    std::string_view r = p == std::string_view::npos ? std::string_view{} : source.substr(p + 1);
    head.assign(h.substr(0, std::min<size_t>(h.size(), 255)));
    rest.assign(r.substr(0, std::min<size_t>(r.size(), 255)));
}

}  // namespace sjis
