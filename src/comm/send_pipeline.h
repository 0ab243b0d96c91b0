#pragma once

#include "model/object_kind.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <vector>

class CByteBuffer;
class CControllerLink;
class CProjectRoot;
class CScreen;
class IOperationUi;

// Where a send renders and compiles its screen. Without one the send does both itself; a
// send running beside others on a thread of its own hands them to the thread that owns
// the renderer.
class ISendRendering
{
public:
    virtual ~ISendRendering() = default;
    virtual void Prepare(CScreen& screen, RenderForm form) = 0;
    // The screen data into buffer; false with the compiler's reason (may be empty).
    virtual bool Compile(CScreen& screen, CByteBuffer& buffer, QString& reason) = 0;
};

// The tunable parts of a send. The pauses give a controller time to settle around opening
// and closing its link; tests and measurements set them to 0.
struct SendOptions
{
    int chunkSize = 0;      // 0: the "pkg" setting
    int linkWaitMs = 200;   // before and after opening and closing the link
    int endWaitMs = 20;     // before end data
    int serialPauseMs = 30; // after every chunk on a serial link
    // How many times the retry question of one chunk may be answered Yes before the send
    // gives up on it; -1 for no limit (a person answers). An automatic Yes needs a limit,
    // or a dead controller would be asked forever.
    int retryLimit = -1;
    ISendRendering* rendering = nullptr; // not owned; nullptr: render and compile here
    // Send All: every message and question of a screen starts with its name ("Panel2: "),
    // for a face that shows the screens one after the other in one place.
    bool namedMessages = false;
    // Where every send leaves its receipt; empty: the user's store
    // (CDeliveryStore::DefaultPath()).
    QString deliveryStore;
};

// One piece of the data stream: where it starts and how long it is.
struct SendChunk
{
    std::uint32_t offset = 0;
    int length = 0;
};

// What Send All did.
struct SendAllResult
{
    int marked = 0;       // screens with their send flag set
    int succeeded = 0;    // of these, the ones sent completely
    bool aborted = false; // Cancel stopped the whole run
    QStringList failed;   // names of the screens that failed, in order
    QString failureList;  // the same as the message shows them: 'Panel1', 'Panel2',
    bool AllSucceeded() const { return marked > 0 && succeeded == marked; }
};

// Delivers compiled screens to their controllers: per screen the overlap check, opening
// the link, reading the controller's parameters, rendering and compiling, begin data, the
// data in chunks, end data, rendering for the editor again and closing the link.
// Everything the person sees goes through the IOperationUi: the progress (bar of 0 to 90)
// with its cancel, the questions and the messages.
class CSendPipeline
{
public:
    static constexpr int kProgressRange = 90;

    explicit CSendPipeline(SendOptions options = {});

    // The per-screen send. True when the card holds the whole data (the progress dialog
    // would end with OK); false after any failure, a refusal or a cancel. Every send leaves
    // a delivery receipt; a store that cannot keep it is said once and stops nothing.
    bool SendScreen(CScreen& screen, IOperationUi& ui);
    // Sends every screen whose send flag is set, in order, and reports the failures.
    SendAllResult SendAll(CProjectRoot& root, IOperationUi& ui);

    // Set once Cancel was asked for (the progress reported it, or the process-wide cancel
    // flag was seen): Send All stops after the screen being sent.
    bool AbortAll() const { return m_abortAll; }
    // The system's text of the last failure of SendScreen (empty after a success).
    const QString& FailureText() const { return m_failureText; }
    // What the last SendScreen compiled for the card: its length and SHA-256 (hex); 0 and
    // empty when it got no further than that.
    qint64 SentBytes() const { return m_sentBytes; }
    const QByteArray& SentDigest() const { return m_sentDigest; }

    // The chunk size for a link kind: 64, 128 or 256 ("pkg"; anything else is 128), and at
    // least 256 on a network link.
    static int ChunkSizeFor(int pkg, int linkKind);
    // Where the bar stands while the chunk at offset is sent: 40 to 80.
    static int ProgressPosition(std::uint64_t offset, std::uint64_t total);
    // The chunks of a stream of total bytes.
    static std::vector<SendChunk> PlanChunks(std::uint64_t total, int chunkSize);

    // The data stream alone on an open link whose begin data was accepted: the chunks with
    // their progress, the retry question and the cancel. True when every chunk arrived.
    bool StreamData(CControllerLink& link, const std::uint8_t* data, std::size_t total,
                    int chunkSize, IOperationUi& ui);

private:
    bool Deliver(CScreen& screen, IOperationUi& ui);
    void RecordDelivery(CScreen& screen, IOperationUi& ui, bool sent, const QString& linkText,
                        int identifiedBefore);
    bool Transfer(CScreen& screen, CControllerLink& link, IOperationUi& ui);
    void Render(CScreen& screen, RenderForm form);
    bool Compile(CScreen& screen, CByteBuffer& buffer, QString& reason);
    bool Progress(IOperationUi& ui, int position, const QString& text);
    void Fail(IOperationUi& ui, const QString& text);

    SendOptions m_options;
    int m_lastPosition = 0;
    bool m_cancelled = false;
    bool m_abortAll = false;
    bool m_messageShown = false;
    QString m_failureText;
    QString m_pinnedAddress;
    // What the last send compiled: its length and SHA-256 (hex); 0 and empty before.
    qint64 m_sentBytes = 0;
    QByteArray m_sentDigest;
};
