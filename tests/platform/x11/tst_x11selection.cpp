#include "ui/platform/WatchedClipboard.h"
#include "ui/platform/x11/X11SelectionChannel.h"

#include <QProcess>
#include <QSignalSpy>
#include <QSocketNotifier>
#include <QTemporaryFile>
#include <QtTest>
#include <csignal>
#include <xcb/xcb.h>

using namespace std::chrono_literals;

namespace
{

// Another program that owns the clipboard, as xclip serving a text until a later copy takes over.
class Copier
{
public:
    explicit Copier(const QByteArray &text)
    {
        m_file.open();
        m_file.write(text);
        m_file.flush();
        m_process.setStandardInputFile(m_file.fileName());
        m_process.start(QStringLiteral("xclip"),
                        {QStringLiteral("-quiet"), QStringLiteral("-selection"),
                         QStringLiteral("clipboard"), QStringLiteral("-i")});
        m_process.waitForStarted();
    }
    ~Copier()
    {
        resume();
        m_process.kill();
        m_process.waitForFinished();
    }
    void pause() { ::kill(pid_t(m_process.processId()), SIGSTOP); }
    void resume() { ::kill(pid_t(m_process.processId()), SIGCONT); }

private:
    QTemporaryFile m_file;
    QProcess m_process;
};

// An owner that answers late and takes the clipboard again while its first answer is on the way,
// as GNOME's compositor does: the late answer belongs to a request the reader has given up.
class ReclaimingOwner : public QObject
{
public:
    explicit ReclaimingOwner(const QByteArray &text)
        : m_connection(xcb_connect(nullptr, nullptr)), m_text(text)
    {
        const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
        m_window = xcb_generate_id(m_connection);
        xcb_create_window(m_connection, 0, m_window, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        m_clipboard = atom("CLIPBOARD");
        m_targets = atom("TARGETS");
        m_utf8 = atom("UTF8_STRING");
        claim();
        auto *notifier =
            new QSocketNotifier(xcb_get_file_descriptor(m_connection), QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, &ReclaimingOwner::serve);
    }
    ~ReclaimingOwner() override { xcb_disconnect(m_connection); }

private:
    xcb_atom_t atom(const char *name)
    {
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, uint16_t(strlen(name)), name), nullptr);
        const xcb_atom_t value = reply->atom;
        free(reply);
        return value;
    }
    void claim()
    {
        xcb_set_selection_owner(m_connection, m_window, m_clipboard, XCB_CURRENT_TIME);
        xcb_flush(m_connection);
    }
    void serve()
    {
        while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection)) {
            if ((event->response_type & 0x7f) == XCB_SELECTION_REQUEST) {
                const auto request = *reinterpret_cast<xcb_selection_request_event_t *>(event);
                if (!m_reclaimed) {
                    m_reclaimed = true;
                    QTimer::singleShot(10, this, &ReclaimingOwner::claim);
                }
                QTimer::singleShot(30, this, [this, request] { answer(request); });
            }
            free(event);
        }
    }
    void answer(const xcb_selection_request_event_t &request)
    {
        if (request.target == m_targets) {
            const xcb_atom_t targets[] = {m_targets, m_utf8};
            xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, request.requestor,
                                request.property, XCB_ATOM_ATOM, 32, 2, targets);
        } else {
            xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, request.requestor,
                                request.property, m_utf8, 8, uint32_t(m_text.size()),
                                m_text.constData());
        }
        xcb_selection_notify_event_t notify{};
        notify.response_type = XCB_SELECTION_NOTIFY;
        notify.time = request.time;
        notify.requestor = request.requestor;
        notify.selection = request.selection;
        notify.target = request.target;
        notify.property = request.property;
        xcb_send_event(m_connection, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char *>(&notify));
        xcb_flush(m_connection);
    }

    xcb_connection_t *m_connection;
    QByteArray m_text;
    xcb_window_t m_window = 0;
    xcb_atom_t m_clipboard = 0;
    xcb_atom_t m_targets = 0;
    xcb_atom_t m_utf8 = 0;
    bool m_reclaimed = false;
};

// Looks at the clipboard as soon as it reports a change, as the capture does: a request given up
// is followed at once by the next one.
void readOnEveryChange(WatchedClipboard &clipboard)
{
    QObject::connect(
        &clipboard, &Clipboard::changed, &clipboard, [&clipboard] { clipboard.holdsText(); },
        Qt::QueuedConnection);
}

QByteArray largeText(qsizetype size)
{
    const QByteArray line =
        QStringLiteral("会議メモ: the review starts at ten, room 4B.\n").toUtf8();
    QByteArray text;
    while (text.size() < size)
        text.append(line);
    return text;
}

} // namespace

class X11SelectionTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void aLargeTextArrivesWholeInPieces();
    void aNewerCopyReplacesTheTransferUnderWay();
    void anOwnerThatStopsMidwayFailsTheRead();
    void anOwnerThatExitsLeavesNoText();
    void aLateAnswerToARequestGivenUpIsNotTaken();

private:
    std::unique_ptr<X11SelectionChannel> m_channel;
};

void X11SelectionTest::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs an X display (run through tests/e2e/on-private-desktop.sh)");
    m_channel = std::make_unique<X11SelectionChannel>();
    QVERIFY(m_channel->isConnected());
}

void X11SelectionTest::aLargeTextArrivesWholeInPieces()
{
    WatchedClipboard clipboard(*m_channel, true);
    QSignalSpy pieces(m_channel.get(), &SelectionChannel::dataArrived);
    QSignalSpy changed(&clipboard, &Clipboard::changed);
    const QByteArray text = largeText(5 * 1000 * 1000);
    Copier copier(text);
    QTRY_VERIFY_WITH_TIMEOUT(!changed.isEmpty(), 5000);
    QVERIFY(!clipboard.holdsText());
    QTRY_VERIFY_WITH_TIMEOUT(clipboard.holdsText(), 10000);
    QCOMPARE(clipboard.text().toUtf8(), text);
    // xclip hands a text this large over in increments, each one a piece.
    QVERIFY2(pieces.size() > 1, qPrintable(QString::number(pieces.size())));
}

void X11SelectionTest::aNewerCopyReplacesTheTransferUnderWay()
{
    WatchedClipboard clipboard(*m_channel, true);
    Copier first(largeText(5 * 1000 * 1000));
    // The owner stops at its first piece, so that the newer copy comes while the transfer runs.
    const auto stop =
        connect(m_channel.get(), &SelectionChannel::dataArrived, this, [&first] { first.pause(); });
    QSignalSpy pieces(m_channel.get(), &SelectionChannel::dataArrived);
    QTRY_VERIFY_WITH_TIMEOUT(!clipboard.holdsText() && !pieces.isEmpty(), 5000);
    disconnect(stop);
    Copier second("the newer text");
    QTRY_VERIFY_WITH_TIMEOUT(clipboard.holdsText(), 5000);
    QCOMPARE(clipboard.text(), QStringLiteral("the newer text"));
}

void X11SelectionTest::anOwnerThatStopsMidwayFailsTheRead()
{
    m_channel->setStallLimit(300ms);
    QSignalSpy failed(m_channel.get(), &SelectionChannel::transferFailed);
    QSignalSpy pieces(m_channel.get(), &SelectionChannel::dataArrived);
    WatchedClipboard clipboard(*m_channel, true);
    Copier copier(largeText(5 * 1000 * 1000));
    const auto stop = connect(m_channel.get(), &SelectionChannel::dataArrived, this,
                              [&copier] { copier.pause(); });
    QTRY_VERIFY_WITH_TIMEOUT(!clipboard.holdsText() && !pieces.isEmpty(), 5000);
    disconnect(stop);
    QTRY_COMPARE_WITH_TIMEOUT(failed.size(), 1, 3000);
    QVERIFY(!clipboard.holdsText());
    m_channel->setStallLimit(5s);
}

void X11SelectionTest::anOwnerThatExitsLeavesNoText()
{
    WatchedClipboard clipboard(*m_channel, true);
    auto copier = std::make_unique<Copier>("soon gone");
    QTRY_VERIFY_WITH_TIMEOUT(clipboard.holdsText(), 5000);
    QCOMPARE(clipboard.text(), QStringLiteral("soon gone"));
    QSignalSpy changed(&clipboard, &Clipboard::changed);
    copier.reset();
    QTRY_VERIFY_WITH_TIMEOUT(!changed.isEmpty(), 5000);
    QVERIFY(!clipboard.holdsText());
    QTRY_COMPARE_WITH_TIMEOUT(changed.size(), 2, 5000);
    QVERIFY(!clipboard.holdsText());
    QVERIFY(clipboard.text().isNull());
}

void X11SelectionTest::aLateAnswerToARequestGivenUpIsNotTaken()
{
    QSignalSpy changes(m_channel.get(), &SelectionChannel::selectionChanged);
    ReclaimingOwner owner("claimed twice");
    QTRY_VERIFY_WITH_TIMEOUT(!changes.isEmpty(), 5000);
    QSignalSpy offers(m_channel.get(), &SelectionChannel::typesOffered);
    WatchedClipboard clipboard(*m_channel, true);
    readOnEveryChange(clipboard);
    QTRY_VERIFY_WITH_TIMEOUT(clipboard.holdsText(), 5000);
    QCOMPARE(clipboard.text(), QStringLiteral("claimed twice"));
    // Taken for the newer request, the late answer would read that request's empty property.
    for (const QList<QVariant> &offer : offers)
        QVERIFY(!offer.front().toStringList().isEmpty());
}

QTEST_GUILESS_MAIN(X11SelectionTest)
#include "tst_x11selection.moc"
