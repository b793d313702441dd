// Offers one selection with every type given on the command line as TYPE=VALUE, as a password
// manager offers a secret beside its text, and serves it until another program takes the
// clipboard. Without data-control a Wayland client may set the clipboard only in answer to an
// input event: the helper shows a small window, offers at the first key pressed in it, and then
// prints "offered".
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QRasterWindow>
#include <cstdio>
#include <utility>

namespace
{

class OfferWindow : public QRasterWindow
{
public:
    explicit OfferWindow(QMimeData *data) : m_data(data) {}
    ~OfferWindow() override { delete m_data; }
    bool offered() const { return !m_data; }

protected:
    void keyPressEvent(QKeyEvent *) override
    {
        if (!m_data)
            return;
        // The clipboard takes the data over.
        QGuiApplication::clipboard()->setMimeData(std::exchange(m_data, nullptr));
        std::puts("offered");
        std::fflush(stdout);
    }

private:
    QMimeData *m_data;
};

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    auto *data = new QMimeData;
    const QStringList types = app.arguments().mid(1);
    for (const QString &type : types) {
        const qsizetype equals = type.indexOf(u'=');
        data->setData(type.left(equals), type.mid(equals + 1).toUtf8());
    }
    OfferWindow window(data);
    window.setTitle(QStringLiteral("offer"));
    window.resize(160, 90);
    QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, [&] {
        if (window.offered() && !QGuiApplication::clipboard()->ownsClipboard())
            app.quit();
    });
    window.show();
    return app.exec();
}
