#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QPair>
#include <xcb/xcb.h>

// Another program that owns the X11 clipboard, over a connection of its own, and answers as the
// test scripts it: late, in increments, in pieces that never end, in units other than bytes. Like
// most owners it goes on with the transfers it has begun after another program takes the
// clipboard.
class ScriptedOwner : public QObject
{
public:
    struct Script {
        QByteArray text;
        // The units of the answer: 8 for bytes; 16 and 32 are not text.
        int format = 8;
        // The whole text in one answer when 0, else in increments (INCR) of this many bytes.
        qsizetype pieceBytes = 0;
        // The increments go on without end, the text over and over.
        bool endless = false;
        // Each increment is announced to the reader by a notice of its own making, sent before
        // the increment is there: the notice's property reads back as missing.
        bool announcesPiecesEarly = false;
        // Types of its own invention offered after the text's.
        int madeUpTypes = 0;
        // Answers this late, and takes the clipboard once more right after the first request.
        int answerDelayMs = 0;
        bool reclaimsOnce = false;
    };

    explicit ScriptedOwner(const Script &script);
    ~ScriptedOwner() override;

    // The increments handed over so far, to any reader.
    int piecesHandedOver() const { return m_piecesHandedOver; }

private:
    struct Transfer {
        qsizetype offset = 0;
        bool ended = false;
    };
    using Place = QPair<xcb_window_t, xcb_atom_t>;

    xcb_atom_t atom(const QByteArray &name);
    void claim();
    void serve();
    void answer(const xcb_selection_request_event_t &request);
    void handOverNextPiece(const Place &place);
    void write(const Place &place, xcb_atom_t type, const QByteArray &bytes);
    void announce(const Place &place);
    void notify(const xcb_selection_request_event_t &request, xcb_atom_t property);

    Script m_script;
    xcb_connection_t *m_connection;
    xcb_window_t m_window = 0;
    xcb_atom_t m_clipboard = 0;
    xcb_atom_t m_targets = 0;
    xcb_atom_t m_utf8 = 0;
    xcb_atom_t m_incr = 0;
    QList<xcb_atom_t> m_madeUpTypes;
    bool m_reclaimed = false;
    QHash<Place, Transfer> m_transfers;
    int m_piecesHandedOver = 0;
};
