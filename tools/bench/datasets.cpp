#include "datasets.h"

#include "platform/gbk.h"
#include "platform/transaction.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <random>
#include <sqlite3.h>
#include <vector>

namespace bench {
namespace {
// Bumped whenever the generated content changes, so cached data sets are rebuilt.
constexpr int kGeneratorVersion = 2;

using Pool = std::vector<QByteArray>;

Pool split(const char *words)
{
    Pool pool;
    for (const QString &w : QString::fromUtf8(words).split(u' ', Qt::SkipEmptyParts))
        pool.push_back(w.toUtf8());
    return pool;
}

const Pool &cities()
{
    static const Pool p = split("北京 上海 广州 深圳 天津 重庆 杭州 南京 武汉 成都 西安 苏州 郑州 长沙 青岛 沈阳 大连 厦门 "
                                "宁波 济南 合肥 福州 昆明 南昌 石家庄 太原 哈尔滨 长春 南宁 贵阳");
    return p;
}
const Pool &provinces()
{
    static const Pool p = split("北京 上海 广东 广东 天津 重庆 浙江 江苏 湖北 四川 陕西 江苏 河南 湖南 山东 辽宁 辽宁 福建 "
                                "浙江 山东 安徽 福建 云南 江西 河北 山西 黑龙江 吉林 广西 贵州");
    return p;
}
const Pool &syllables()
{
    static const Pool p = split("华 盛 泰 恒 鑫 达 源 通 宏 远 兴 隆 昌 瑞 丰 信 诚 德 安 康 永 嘉 新 金 海 天 中 东 明 "
                                "光 立 广 汇 凯 博 创 正 和 佳 宇");
    return p;
}
const Pool &trades()
{
    static const Pool p = split("科技 贸易 建筑工程 电子 物流 商贸 机械设备 化工 食品 印务 建材 医药 网络技术 装饰工程 "
                                "环保设备 汽车服务 文化传媒 办公用品 电力设备 信息技术");
    return p;
}
const Pool &forms()
{
    static const Pool p = split("有限公司 有限责任公司 股份有限公司");
    return p;
}
const Pool &banks()
{
    static const Pool p = split("中国工商银行 中国农业银行 中国银行 中国建设银行 交通银行 招商银行 中信银行 兴业银行 "
                                "浦发银行 民生银行");
    return p;
}
const Pool &districts()
{
    static const Pool p = split("城东 城西 城南 城北 高新 开发区 中山路 人民路 解放路 建设路 滨江 新区");
    return p;
}
const Pool &purposes()
{
    static const Pool p = split("货款 工程款 办公用品 差旅费 工资 房租 服务费 运费 材料款 设备款 咨询费 广告费 "
                                "水电费 维修费 押金 备用金");
    return p;
}
const Pool &drawers()
{
    static const Pool p = split("张丽 王建国 李明 赵红 刘芳");
    return p;
}

class Generator {
public:
    explicit Generator(quint64 seed) : m_random(seed) {}
    int below(int n) { return int(m_random() % quint64(n)); }
    double unit() { return double(m_random() >> 11) * 0x1.0p-53; }
    const QByteArray &pick(const Pool &pool) { return pool[std::size_t(below(int(pool.size())))]; }
    QByteArray digits(int count)
    {
        QByteArray s(count, '0');
        for (char &c : s)
            c = char('0' + below(10));
        return s;
    }

    // A company: city, a two-syllable name, trade and legal form; its province goes with the city.
    struct Company {
        QByteArray name, bank, account, province, city;
    };
    Company company()
    {
        const int c = below(int(cities().size()));
        Company k;
        k.city = cities()[std::size_t(c)];
        k.province = provinces()[std::size_t(c)];
        k.name = k.city + pick(syllables()) + pick(syllables()) + pick(trades()) + pick(forms());
        k.bank = branch(k.city);
        k.account = digits(19);
        return k;
    }
    QByteArray branch(const QByteArray &city) { return pick(banks()) + city + "分行" + pick(districts()) + "支行"; }

    // Amounts in fen: a few small sums, the rest spread over four orders of magnitude, a third of them round.
    QByteArray amount()
    {
        double yuan = unit() < 0.02 ? 1 + unit() * (kSmallAmount - 1.01)
                                    : kSmallAmount * std::pow(10.0, unit() * 3.7);
        if (unit() < 0.33)
            yuan = std::ceil(yuan / 100) * 100;
        return QByteArray::number(std::round(yuan * 100) / 100, 'f', 2);
    }

private:
    std::mt19937_64 m_random;
};

// A prepared insert whose text values are bound from byte arrays that outlive the step.
class Insert {
public:
    Insert(sqlite3 *db, const char *sql) { sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr); }
    ~Insert() { sqlite3_finalize(m_stmt); }
    bool ok() const { return m_stmt != nullptr; }
    Insert &text(const QByteArray &value)
    {
        sqlite3_bind_text(m_stmt, ++m_column, value.constData(), int(value.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Insert &number(const QByteArray &value)
    {
        sqlite3_bind_double(m_stmt, ++m_column, value.toDouble());
        return *this;
    }
    bool step()
    {
        const int rc = sqlite3_step(m_stmt);
        sqlite3_reset(m_stmt);
        m_column = 0;
        return rc == SQLITE_DONE;
    }

private:
    sqlite3_stmt *m_stmt = nullptr;
    int m_column = 0;
};

QString fillRegisters(sqlite3 *db, const DataSet &set)
{
    Generator gen(20160101);
    std::vector<Generator::Company> partners;
    for (int i = 0; i < 4000; ++i)
        partners.push_back(gen.company());
    // The unit's own accounts: few, so the lists' groups are large.
    std::vector<Generator::Company> own;
    for (int i = 0; i < 6; ++i)
        own.push_back(gen.company());
    const QByteArray unitName = "北京华远科技有限公司";

    Insert pay(db, "INSERT INTO xjzp (rq, bz, zphm, xkr, shbank, shcode, et, an, fkhm, fkzh, kpr, fkrm) "
                   "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    Insert rec(db, "INSERT INTO jzd (rq, bz, zphm, xkr, shbank, shcode, et, an, fkhm, fkzh, kpr) "
                   "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    if (!pay.ok() || !rec.ok())
        return QString::fromUtf8(sqlite3_errmsg(db));
    const qint64 days = firstDay().daysTo(lastDay()) + 1;
    for (int i = 0; i < set.rows; ++i) {
        // Rows come in date order, many on one day, as a register grows.
        const QByteArray date = firstDay().addDays(qint64(i) * days / set.rows).toString(Qt::ISODate).toUtf8();
        const auto &payee = partners[std::size_t(gen.below(int(partners.size())))];
        const auto &from = own[std::size_t(gen.below(int(own.size())))];
        const bool cash = gen.below(4) == 0;
        pay.text(date)
            .text(cash ? "现金支票" : "转帐支票")
            .text(paymentChequeNumber(i).toUtf8())
            .text(payee.name)
            .text(payee.bank)
            .text(payee.account)
            .text(gen.pick(purposes()))
            .number(gen.amount())
            .text(from.bank)
            .text(from.account)
            .text(gen.pick(drawers()))
            .text(unitName);
        const auto &payer = partners[std::size_t(gen.below(int(partners.size())))];
        const auto &to = own[std::size_t(gen.below(int(own.size())))];
        rec.text(date)
            .text(gen.below(10) == 0 ? "退款" : "")
            .text(QByteArray::number(50000000 + i))
            .text(payer.name)
            .text(to.bank)
            .text(to.account)
            .text(gen.below(3) == 0 ? "银行汇票" : "转帐支票")
            .number(gen.amount())
            .text(payer.bank)
            .text(payer.account)
            .text(gen.pick(drawers()));
        if (!pay.step() || !rec.step())
            return QString::fromUtf8(sqlite3_errmsg(db));
    }
    return {};
}

QString fillBooks(sqlite3 *db, const DataSet &set)
{
    Generator gen(20251231);
    for (const char *table : {"skrbook", "fkrbook"}) {
        Insert book(db, QStringLiteral("INSERT INTO %1 (bs, skrname, skrbank, skrcode, prov, city, xian) "
                                       "VALUES (?, ?, ?, ?, ?, ?, ?)")
                            .arg(QLatin1String(table))
                            .toUtf8()
                            .constData());
        if (!book.ok())
            return QString::fromUtf8(sqlite3_errmsg(db));
        Generator::Company last;
        for (int i = 0; i < set.bookRows; ++i) {
            // One entry in a hundred repeats the name before it (a second account of the same company).
            Generator::Company k = gen.company();
            if (i > 0 && gen.below(100) == 0)
                k.name = last.name;
            last = k;
            const QByteArray mnemonic = QByteArray::number(gen.below(100000)).rightJustified(5, '0');
            book.text(mnemonic)
                .text(k.name)
                .text(k.bank)
                .text(k.account)
                .text(k.province)
                .text(k.city)
                .text(gen.pick(districts()));
            if (!book.step())
                return QString::fromUtf8(sqlite3_errmsg(db));
        }
    }
    Insert remark(db, "INSERT INTO bs_1 (cid, ctext, ccode) VALUES (?, ?, ?)");
    if (!remark.ok())
        return QString::fromUtf8(sqlite3_errmsg(db));
    for (int i = 0; i < set.bookRows; ++i) {
        const QByteArray text = "支付" + QByteArray::number(1 + gen.below(12)) + "月" + gen.pick(purposes()) + "（" +
                                gen.pick(cities()) + gen.pick(syllables()) + gen.pick(syllables()) + "项目）";
        // Codes as the operator gives them, not in the order the remarks were entered: the list's order (by
        // code) is not the table's.
        remark.text(gen.digits(6)).text(text).text(gen.digits(6));
        if (!remark.step())
            return QString::fromUtf8(sqlite3_errmsg(db));
    }
    return {};
}

QByteArray stamp(const DataSet &set)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (const char *script : {":/database/schema.sql", ":/database/indexes.sql", ":/database/content.sql"}) {
        QFile f(QString::fromLatin1(script));
        if (f.open(QIODevice::ReadOnly))
            hash.addData(f.readAll());
    }
    // The text order too: the indexes of a set built in another are rebuilt at connect, which a run would time.
    return QByteArray::number(kGeneratorVersion) + ' ' + QByteArray::number(set.rows) + ' ' +
           QByteArray::number(set.bookRows) + ' ' + hash.result().toHex() + ' ' +
           QByteArray::number(gbk::kOrderVersion) + '\n';
}
} // namespace

bool dataSetFor(const QString &label, DataSet &set)
{
    const QString l = label.trimmed().toLower();
    if (l == u"10k")
        set = {l, 10'000, 10'000};
    else if (l == u"100k")
        set = {l, 100'000, 100'000};
    else if (l == u"1m")
        set = {l, 1'000'000, 100'000};
    else
        return false;
    return true;
}

QString dataSetFolder(const QString &cache, const DataSet &set) { return QDir(cache).filePath(set.label); }

QString paymentChequeNumber(int row) { return QString::number(20000000 + row); }

QString ensureDataSet(const QString &cache, const DataSet &set)
{
    const QDir folder(dataSetFolder(cache, set));
    const QString stampFile = folder.filePath(QStringLiteral("stamp"));
    const QString database = folder.filePath(QStringLiteral("DATABASE/nardelo.db"));
    QFile existing(stampFile);
    if (QFileInfo::exists(database) && existing.open(QIODevice::ReadOnly) && existing.readAll() == stamp(set))
        return {};
    existing.close();

    QFile::remove(stampFile);
    QFile::remove(database);
    const QString building = database + QStringLiteral(".new");
    QFile::remove(building);
    if (const QString error = db::createDatabase(building); !error.isEmpty())
        return error;

    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(building.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        const QString error = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_close(db);
        return error;
    }
    db::registerGbkCollation(db); // the indexes keep texts in GBK order
    // One transaction, no journal, a large page cache, and the indexes made again after the rows (a sort beats
    // a million scattered inserts): a million rows per register in seconds.
    sqlite3_exec(db, "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF; PRAGMA cache_size = -400000; BEGIN",
                 nullptr, nullptr, nullptr);
    // The declared indexes, by name and statement.
    QList<std::pair<QByteArray, QByteArray>> indexes;
    sqlite3_stmt *list = nullptr;
    sqlite3_prepare_v2(db, "SELECT name, sql FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL", -1, &list,
                       nullptr);
    while (list && sqlite3_step(list) == SQLITE_ROW)
        indexes.append(std::pair<QByteArray, QByteArray>(reinterpret_cast<const char *>(sqlite3_column_text(list, 0)),
                        reinterpret_cast<const char *>(sqlite3_column_text(list, 1))));
    sqlite3_finalize(list);
    QString error;
    const auto exec = [&](const QByteArray &sql) {
        if (error.isEmpty() && sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
            error = QString::fromUtf8(sqlite3_errmsg(db));
    };
    for (const auto &index : std::as_const(indexes))
        exec("DROP INDEX " + index.first);
    if (error.isEmpty())
        error = fillRegisters(db, set);
    if (error.isEmpty())
        error = fillBooks(db, set);
    for (const auto &index : std::as_const(indexes))
        exec(index.second);
    exec("COMMIT");
    sqlite3_close(db);
    if (!error.isEmpty() || !QFile::rename(building, database)) {
        QFile::remove(building);
        return error.isEmpty() ? QStringLiteral("cannot move %1 into place").arg(building) : error;
    }
    QFile out(stampFile);
    if (!out.open(QIODevice::WriteOnly) || out.write(stamp(set)) < 0)
        return QStringLiteral("cannot write %1").arg(stampFile);
    return {};
}
} // namespace bench
