// SPDX-License-Identifier: MIT
// A small window that starts a real drag when pressed, as another program would: of text
// (`dragsource text TEXT`) or of files (`dragsource files PATH...`). The end-to-end test
// drags from it with the X server's own pointer. The target fetches the data after the
// drop, so the window stays until it is closed.
#include <QApplication>
#include <QDrag>
#include <QLabel>
#include <QMimeData>
#include <QUrl>

namespace {

class DragSource : public QLabel
{
public:
    explicit DragSource(const QStringList &what)
        : QLabel(QStringLiteral("drag source")), m_what(what)
    {
        setWindowTitle(QStringLiteral("dragsource"));
        resize(150, 80);
    }

protected:
    void mousePressEvent(QMouseEvent *) override
    {
        auto *data = new QMimeData;
        if (m_what.value(0) == QLatin1String("text")) {
            data->setText(m_what.value(1));
        } else {
            QList<QUrl> urls;
            for (const QString &path : m_what.mid(1))
                urls << QUrl::fromLocalFile(path);
            data->setUrls(urls);
        }
        auto *drag = new QDrag(this);
        drag->setMimeData(data);
        drag->exec(Qt::CopyAction);
    }

private:
    QStringList m_what;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    DragSource source(app.arguments().mid(1));
    source.show();
    return app.exec();
}
