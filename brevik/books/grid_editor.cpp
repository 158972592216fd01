#include "books/grid_editor.h"

#include "globals.h"
#include "dataview/print.h"
#include "platform/messagebox.h"
#include "platform/transaction.h"

namespace brevik {

GridEditor::GridEditor(const QString &className, int width, int height, const dw::Definition &view)
    : ui::Window(className, width, height)
{
    m_dw = new dw::DataView(this);
    m_dw->setDefinition(view);

    using ui::Event;
    on(QStringLiteral("cb_1"), Event::Clicked, [this] { addRow(); });
    on(QStringLiteral("cb_2"), Event::Clicked, [this] { deleteRow(); });
    on(QStringLiteral("cb_3"), Event::Clicked, [this] { save(); });
    on(QStringLiteral("cb_4"), Event::Clicked, [this] { closeWindow(); });
    on(QStringLiteral("cb_5"), Event::Clicked, [this] {
        if (QString error; m_dw->print(&error) < 0)
            dw::showPrintError(error);
    });
}

void GridEditor::retrieve()
{
    m_dw->setTransaction(g::sqlca);
    m_dw->retrieve();
}

void GridEditor::addRow()
{
    m_row = m_dw->insertRow(0);
    // The new row is typed from its first cell, whichever column the cursor stood in.
    m_dw->setCurrentFirstCell(m_row);
    m_dw->scrollToRow(m_row);
    m_dw->setFocus(Qt::OtherFocusReason);
    control(QStringLiteral("cb_1"))->setEnabled(false);
}

void GridEditor::deleteRow()
{
    m_row = m_dw->currentRow();
    m_dw->deleteRow(m_row);
    control(QStringLiteral("cb_2"))->setEnabled(false);
}

bool GridEditor::save()
{
    m_dw->acceptText();
    if (!saveAllowed())
        return false;
    // The connection in use stays; it is opened again only when it was lost.
    if (!g::sqlca.isConnected())
        g::sqlca.connect();
    {
        // A text the table cannot hold is refused naming the column by the header the operator sees.
        QHash<QString, QString> headers;
        for (const dw::Cell &cell : m_dw->definition().cells)
            if (!cell.compute && !cell.header.isEmpty())
                headers.insert(cell.name, cell.header);
        const db::Captions captions(g::sqlca, headers);
        if (m_dw->update() != 1)
            return false;
    }
    g::sqlca.commit();
    if (g::sqlca.SQLCode != 0) {
        const QString text = db::faultMessage(g::sqlca);
        g::sqlca.rollback();
        msg::show(QStringLiteral("数据库错误"), QStringLiteral("保存没有完成：\r") + text, msg::Icon::StopSign);
        return false;
    }
    rememberBeforeReread();
    retrieve();
    if (m_dw->buffer().hasRow(1)) {
        // The remembered row (often the one added last), else the last.
        const int row = m_dw->reachRow(m_row);
        m_dw->setCurrentRow(row);
        m_dw->scrollToRow(row);
    }
    control(QStringLiteral("cb_1"))->setEnabled(true);
    control(QStringLiteral("cb_2"))->setEnabled(true);
    return true;
}

void GridEditor::placeButtons(const QStringList &buttons, int y, int width, int height, int gap)
{
    QStringList shown;
    for (const QString &b : buttons)
        if (QWidget *w = control(b); w && !w->isHidden())
            shown << b;
    const int total = int(shown.size()) * width + int(qMax<qsizetype>(0, shown.size() - 1)) * gap;
    int x = (unitGeometry(QStringLiteral("dw_1")).width() - total) / 2 + unitGeometry(QStringLiteral("dw_1")).x();
    for (const QString &b : std::as_const(shown)) {
        setUnitGeometry(b, x, y, width, height);
        x += width + gap;
    }
}
} // namespace brevik
