// SPDX-License-Identifier: GPL-3.0-or-later
// The line-break markup on any text, read once as UTF-8 and once as raw UTF-16 (lone surrogates
// included). Only what must hold whatever the input is checked:
// - toViewerText turns each "BR" (alone or inside "<BR>") and each "<br>" into exactly one CR LF.
//   CR LF holds no B, R, <, b, r or >, so no marker can re-form across a replacement: nothing of
//   the markup survives, every other character stays in order, and a second pass changes nothing.
// - brToLineBreaks turns each "<br>" into CR LF and touches nothing else.
// - lineBreaksToBr leaves no CR or LF, and each line break (CR LF, lone CR, lone LF) becomes one
//   "<br>"; for a text without CR or LF it undoes brToLineBreaks.

#include "core/texts/markup.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

[[noreturn]] void fail(const char* what, const QString& input)
{
    std::fprintf(
        stderr, "fuzz_markup: %s\n  input (UTF-16 hex): %s\n", what,
        QByteArray(reinterpret_cast<const char*>(input.utf16()), input.size() * 2).toHex().constData());
    std::abort();
}

void check(bool ok, const char* what, const QString& input)
{
    if (!ok)
        fail(what, input);
}

// Drops every character that a conversion may add or remove.
QString withoutMarkupCharacters(const QString& text)
{
    QString out;
    for (const QChar c : text) {
        if (!u"<>BRbr\r\n"_s.contains(c))
            out += c;
    }
    return out;
}

qsizetype lineBreaks(const QString& text)
{
    return text.count(u'\r') + text.count(u'\n') - text.count(u"\r\n"_s);
}

void checkViewerText(const QString& in)
{
    const QString out = Markup::toViewerText(in);
    const qsizetype markers = in.count(u"BR"_s) + in.count(u"<br>"_s);
    check(!out.contains(u"BR"_s), "\"BR\" survives the viewer conversion", in);
    check(!out.contains(u"<br>"_s), "\"<br>\" survives the viewer conversion", in);
    check(out.count(u'\r') == in.count(u'\r') + markers, "not one CR per marker", in);
    check(out.count(u'\n') == in.count(u'\n') + markers, "not one LF per marker", in);
    check(out.count(u"\r\n"_s) == in.count(u"\r\n"_s) + markers, "not one CR LF per marker", in);
    check(out.size() == in.size() - 2 * in.count(u"<BR>"_s) - 2 * in.count(u"<br>"_s),
          "viewer text has the wrong length", in);
    check(withoutMarkupCharacters(out) == withoutMarkupCharacters(in),
          "viewer conversion changed other characters", in);
    check((out == in) == (markers == 0), "viewer conversion changed a text without markers", in);
    check(Markup::toViewerText(out) == out, "viewer conversion is not idempotent", in);
}

void checkBrConversions(const QString& in)
{
    const QString broken = Markup::brToLineBreaks(in);
    const qsizetype markers = in.count(u"<br>"_s);
    check(!broken.contains(u"<br>"_s), "\"<br>\" survives brToLineBreaks", in);
    check(broken.count(u"\r\n"_s) == in.count(u"\r\n"_s) + markers, "not one CR LF per <br>", in);
    check(broken.size() == in.size() - 2 * markers, "brToLineBreaks has the wrong length", in);
    check(withoutMarkupCharacters(broken) == withoutMarkupCharacters(in),
          "brToLineBreaks changed other characters", in);

    const QString marked = Markup::lineBreaksToBr(in);
    check(!marked.contains(u'\r') && !marked.contains(u'\n'), "a line break survives lineBreaksToBr", in);
    check(marked.count(u"<br>"_s) == markers + lineBreaks(in), "not one <br> per line break", in);
    check(withoutMarkupCharacters(marked) == withoutMarkupCharacters(in),
          "lineBreaksToBr changed other characters", in);
    check(Markup::lineBreaksToBr(marked) == marked, "lineBreaksToBr is not idempotent", in);

    // What a text box gets back always has whole CR LF pairs.
    const QString shown = Markup::brToLineBreaks(marked);
    check(lineBreaks(shown) == shown.count(u"\r\n"_s), "a lone CR or LF after the round trip", in);

    // A single-line text survives the way through a text box and back.
    QString oneLine = in;
    oneLine.remove(u'\r');
    oneLine.remove(u'\n');
    check(Markup::lineBreaksToBr(Markup::brToLineBreaks(oneLine)) == oneLine, "round trip changed a text",
          in);
}

void checkAll(const QString& in)
{
    checkViewerText(in);
    checkBrConversions(in);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto length = static_cast<qsizetype>(size);
    checkAll(QString::fromUtf8(reinterpret_cast<const char*>(data), length));

    QString utf16(length / 2, Qt::Uninitialized);
    std::memcpy(utf16.data(), data, static_cast<std::size_t>(utf16.size()) * sizeof(QChar));
    checkAll(utf16);
    return 0;
}
