// The text a PDF written by Qt gives back. Qt maps each embedded glyph to the first character the
// font's character map has for it; a joined Arabic letter (initial, medial, final) is reachable
// only through its presentation form (U+FB50..U+FDFF, U+FE70..U+FEFF), so a reader extracted
// "U+FEDF U+FED8" where the text said "U+0644 U+0642", and a search for the word found nothing.
// The character maps Qt writes are plain text: each presentation form in them is replaced by the
// letters it stands for (its compatibility decomposition), and the cross-reference table moves
// by what the maps grew.
#include <QtCore/QByteArray>
#include <QtCore/QFile>
#include <QtCore/QString>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>
#include "platform/qt/QtInternal.h"

namespace {
bool IsPresentationForm(unsigned int nCode)
{
    return (nCode >= 0xFB50 && nCode <= 0xFDFF) || (nCode >= 0xFE70 && nCode <= 0xFEFF);
}

// "<FEDF>" becomes "<0644>", "<FEFB>" (lam-alef) "<06270644>"; other targets stay. A glyph of
// two letters gives them last first: readers turn a right-to-left run into reading order by
// reversing its characters, and so bring the pair back to lam, alef.
QByteArray BaseLetters(const QByteArray& hex)
{
    bool bOk = false;
    const unsigned int nCode = hex.toUInt(&bOk, 16);
    if (!bOk || hex.size() != 4 || !IsPresentationForm(nCode))
        return hex;
    const QString strBase = QString(QChar(static_cast<char16_t>(nCode))).normalized(QString::NormalizationForm_KC);
    if (strBase.isEmpty())
        return hex;
    QByteArray out;
    for (qsizetype i = strBase.size(); i-- > 0;)
        out += QByteArray::number(strBase[i].unicode(), 16).toUpper().rightJustified(4, '0');
    return out;
}

// The target strings of a character map: those in "[...]" arrays of bfrange and the second of
// each bfchar pair. Source codes (glyph numbers) are left alone.
QByteArray MapToBaseLetters(const QByteArray& cmap)
{
    QByteArray out;
    out.reserve(cmap.size() + cmap.size() / 4);
    bool bArray = false, bChars = false;
    int nInLine = 0;            // the hex strings seen on a bfchar line
    for (qsizetype i = 0; i < cmap.size(); ++i) {
        const char ch = cmap[i];
        if (cmap.mid(i, 11) == "beginbfchar")
            bChars = true;
        else if (cmap.mid(i, 9) == "endbfchar")
            bChars = false;
        if (ch == '[')
            bArray = true;
        else if (ch == ']')
            bArray = false;
        else if (ch == '\n')
            nInLine = 0;
        if (ch != '<') {
            out += ch;
            continue;
        }
        const qsizetype nEnd = cmap.indexOf('>', i);
        if (nEnd < 0) {
            out += cmap.mid(i);
            break;
        }
        const QByteArray hex = cmap.mid(i + 1, nEnd - i - 1);
        const bool bTarget = bArray || (bChars && nInLine == 1);
        ++nInLine;
        out += '<';
        out += bTarget ? BaseLetters(hex) : hex;
        out += '>';
        i = nEnd;
    }
    return out;
}
}  // namespace

BOOL TbQtPdfBaseLetters(const QString& strFile)
{
    QFile file(strFile);
    if (!file.open(QIODevice::ReadOnly))
        return FALSE;
    const QByteArray pdf = file.readAll();
    file.close();
    // Each character map Qt writes: "<< /Length n >>\nstream\n/CIDInit ..." uncompressed.
    static const QByteArray s_head = ">>\nstream\n/CIDInit";
    struct Edit {
        qsizetype nFrom, nTo;       // the bytes replaced: from "/Length" to the stream's end
        QByteArray text;
    };
    std::vector<Edit> edits;
    for (qsizetype nAt = pdf.indexOf(s_head); nAt >= 0; nAt = pdf.indexOf(s_head, nAt + 1)) {
        const qsizetype nLength = pdf.lastIndexOf("/Length ", nAt);
        if (nLength < 0 || nAt - nLength > 32)
            continue;
        const long nBytes = strtol(pdf.constData() + nLength + 8, nullptr, 10);
        const qsizetype nData = nAt + s_head.size() - 8;     // "/CIDInit" starts the data
        if (nBytes <= 0 || nData + nBytes > pdf.size())
            continue;
        const QByteArray cmap = MapToBaseLetters(pdf.mid(nData, nBytes));
        if (cmap == pdf.mid(nData, nBytes))
            continue;
        Edit edit{nLength, nData + nBytes, "/Length " + QByteArray::number(cmap.size()) + " >>\nstream\n" + cmap};
        edits.push_back(std::move(edit));
    }
    if (edits.empty())
        return TRUE;
    // The new file, and how far each old offset moves.
    QByteArray out;
    out.reserve(pdf.size() + 4096);
    qsizetype nDone = 0;
    for (const Edit& edit : edits) {
        out += pdf.mid(nDone, edit.nFrom - nDone);
        out += edit.text;
        nDone = edit.nTo;
    }
    out += pdf.mid(nDone);
    auto moved = [&edits](qsizetype nOld) {
        qsizetype nShift = 0;
        for (const Edit& edit : edits)
            if (edit.nTo <= nOld)
                nShift += edit.text.size() - (edit.nTo - edit.nFrom);
        return nOld + nShift;
    };
    // The table: "xref\n0 n\n" and n lines of "oooooooooo ggggg n \n"; then "startxref\nN".
    const qsizetype nXref = out.lastIndexOf("\nxref\n");
    const qsizetype nStart = out.lastIndexOf("startxref\n");
    if (nXref < 0 || nStart < nXref)
        return FALSE;
    qsizetype nLine = out.indexOf('\n', nXref + 6) + 1;
    for (; nLine > 0 && nLine + 20 <= out.size() && out.mid(nLine, 7) != "trailer"; nLine += 20) {
        if (out[nLine + 17] != 'n')
            continue;
        char szOffset[16];
        snprintf(szOffset, sizeof szOffset, "%010lld",
                 static_cast<long long>(moved(strtoll(out.constData() + nLine, nullptr, 10))));
        out.replace(nLine, 10, szOffset, 10);
    }
    const qsizetype nNumber = nStart + 10;
    const qsizetype nNumberEnd = out.indexOf('\n', nNumber);
    if (nNumberEnd < 0)
        return FALSE;
    const long long nOldXref = strtoll(out.constData() + nNumber, nullptr, 10);
    out.replace(nNumber, nNumberEnd - nNumber, QByteArray::number(static_cast<qlonglong>(moved(nOldXref))) + " ");
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return FALSE;
    return file.write(out) == out.size();
}
