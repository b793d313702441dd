#include "ui/platform/WatchedClipboard.h"

#include "ui/platform/LargestText.h"
#include "ui/platform/OfferedText.h"
#include "ui/platform/SelectionChannel.h"

namespace
{

// The hint is one short word; more than this is not a hint worth reading.
constexpr qsizetype hintLimit = 256;
// The capture's own polling interval.
constexpr std::chrono::milliseconds retryDelay(800);

} // namespace

WatchedClipboard::WatchedClipboard(SelectionChannel &channel, bool withoutFocus, QObject *parent)
    : Clipboard(parent), m_channel(channel), m_withoutFocus(withoutFocus), m_textLimit(largestText)
{
    connect(&channel, &SelectionChannel::selectionChanged, this, [this] {
        if (m_look != Look::Unknown && m_look != Look::Known && m_look != Look::Failed)
            m_channel.abandon();
        m_look = Look::Unknown;
        m_text = QString();
        m_holdsText = false;
        m_tooLarge = false;
        m_failures = 0;
        Q_EMIT changed();
    });
    connect(&channel, &SelectionChannel::typesOffered, this, &WatchedClipboard::takeTypes);
    connect(&channel, &SelectionChannel::dataArrived, this, &WatchedClipboard::takePiece);
    connect(&channel, &SelectionChannel::dataEnded, this, &WatchedClipboard::takeEnd);
    connect(&channel, &SelectionChannel::dataNotText, this, &WatchedClipboard::takeNotText);
    connect(&channel, &SelectionChannel::transferFailed, this, [this] {
        m_decoder.reset();
        // An owner that fails twice would fail again, after handing over what it could, which
        // might be hundreds of megabytes each time: it is not asked again until the next change.
        if (++m_failures >= 2) {
            know(false);
            return;
        }
        m_look = Look::Failed;
        m_text = QString();
        // As a clipboard that cannot be opened, it is tried again at the next tick's time, not
        // at once: an owner that refuses every request must not keep the program busy.
        m_retry.start();
    });
    m_retry.setSingleShot(true);
    m_retry.setInterval(retryDelay);
    connect(&m_retry, &QTimer::timeout, this, [this] {
        if (m_look != Look::Failed)
            return;
        m_look = Look::Unknown;
        Q_EMIT changed();
    });
}

bool WatchedClipboard::holdsText()
{
    if (m_look == Look::Unknown)
        startReading();
    return m_look == Look::Known && m_holdsText;
}

QString WatchedClipboard::text()
{
    return m_look == Look::Known ? m_text : QString();
}

void WatchedClipboard::clear()
{
    m_channel.clear();
}

void WatchedClipboard::setText(const QString &text)
{
    m_channel.setText(text);
}

void WatchedClipboard::startReading()
{
    m_look = Look::AskingTypes;
    m_channel.requestTypes();
}

void WatchedClipboard::takeTypes(const QStringList &types)
{
    if (m_look != Look::AskingTypes)
        return;
    m_types = types;
    if (types.contains(OfferedText::secretHintType)) {
        m_look = Look::ReadingHint;
        m_hint.clear();
        m_channel.requestData(OfferedText::secretHintType);
        return;
    }
    readTextOf(types);
}

void WatchedClipboard::readTextOf(const QStringList &types)
{
    const QString type = OfferedText::preferredType(types);
    if (type.isEmpty()) {
        know(false);
        return;
    }
    m_look = Look::ReadingText;
    m_text = QString();
    m_received = 0;
    // A byte order mark at the start is a character of the text like any other.
    m_decoder.emplace(OfferedText::encodingOf(type), QStringConverter::Flag::ConvertInitialBom);
    m_channel.requestData(type);
}

void WatchedClipboard::takePiece(const QByteArray &piece)
{
    if (m_look == Look::ReadingHint) {
        m_hint.append(piece.left(hintLimit + 1 - m_hint.size()));
        if (m_hint.size() > hintLimit) {
            // Not a hint at all; and an owner could hand it over without end.
            m_channel.abandon();
            readTextOf(m_types);
        }
    } else if (m_look == Look::ReadingText) {
        m_received += piece.size();
        if (m_received > m_textLimit) {
            giveUpTooLarge();
            return;
        }
        // Each piece is decoded as it comes, straight behind the text so far, so that the raw
        // bytes never pile up beside the text and the text is not copied again.
        const qsizetype before = m_text.size();
        m_text.resize(before + m_decoder->requiredSpace(piece.size()));
        const QChar *end = m_decoder->appendToBuffer(m_text.data() + before, piece);
        m_text.resize(end - m_text.constData());
    }
}

void WatchedClipboard::takeEnd()
{
    if (m_look == Look::ReadingHint) {
        if (OfferedText::hintMarksSecret(m_hint))
            know(false);
        else
            readTextOf(m_types);
    } else if (m_look == Look::ReadingText) {
        // The bytes of a character cut short are malformed bytes like any others.
        if (m_decoder->endsInsideACharacter())
            m_text.append(QChar::ReplacementCharacter);
        m_decoder.reset();
        know(true);
    }
}

void WatchedClipboard::takeNotText()
{
    if (m_look == Look::ReadingHint) {
        // Such a hint marks nothing.
        readTextOf(m_types);
    } else if (m_look == Look::ReadingText) {
        m_decoder.reset();
        know(false);
    }
}

void WatchedClipboard::giveUpTooLarge()
{
    m_channel.abandon();
    m_decoder.reset();
    m_tooLarge = true;
    know(false);
}

void WatchedClipboard::know(bool holdsText)
{
    m_look = Look::Known;
    m_holdsText = holdsText;
    if (!holdsText)
        m_text = QString();
    Q_EMIT changed();
}
