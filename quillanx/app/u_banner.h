#pragma once
#include <QHash>
#include <QRect>
#include <QStringList>
#include <QWidget>

namespace ui {
class Picture;
}

// A banner user object: a strip of pictures placed in window units on a coloured background.
class u_banner : public QWidget {
    Q_OBJECT
public:
    u_banner(const QString &name, QWidget *parent = nullptr);

    ui::Picture *picture(const QString &name) const { return m_pictures.value(name); }
    QStringList pictureNames() const { return m_order; }
    QRect unitGeometry(const QString &name) const { return m_units.value(name); }
    void setUnitGeometry(const QString &name, int x, int y, int width, int height);
    void setUnitX(const QString &name, int x);
    void setUnitWidth(const QString &name, int width);

signals:
    // A click on one of the banner's pictures, by its name.
    void pictureClicked(const QString &name);

protected:
    // Adds a picture in creation order; the ones created first lie on top.
    ui::Picture *addPicture(const QString &name, const QString &picture, QRect units, bool scaled, bool lowered,
                            bool hand);

private:
    QHash<QString, ui::Picture *> m_pictures;
    QHash<QString, QRect> m_units;
    QStringList m_order;
};

// The top banner: the banner picture with the minimise, restore, maximise and close pictures on it.
class u_banner1 : public u_banner {
    Q_OBJECT
public:
    explicit u_banner1(QWidget *parent = nullptr);
};

// The bottom banner: one picture.
class u_banner2 : public u_banner {
    Q_OBJECT
public:
    explicit u_banner2(QWidget *parent = nullptr);
};
