#include "SyntheticClinic.h"

#include "core/text/Pinyin.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace quilloa::bench {
namespace {

QStringList split(const char* words)
{
    return QString::fromUtf8(words).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

const QStringList& drugStems()
{
    static const QStringList stems = split(
        "阿莫西林 头孢氨苄 头孢拉定 头孢克肟 头孢呋辛 头孢曲松 罗红霉素 阿奇霉素 红霉素 克拉霉素 "
        "左氧氟沙星 诺氟沙星 环丙沙星 甲硝唑 替硝唑 布洛芬 对乙酰氨基酚 阿司匹林 双氯芬酸钠 "
        "吲哚美辛 甘草 氨溴索 溴己新 右美沙芬 氯雷他定 西替利嗪 氯苯那敏 奥美拉唑 雷尼替丁 "
        "法莫替丁 多潘立酮 蒙脱石 颠茄 山莨菪碱 维生素 葡萄糖酸钙 硝苯地平 卡托普利 依那普利 "
        "美托洛尔 氨氯地平 二甲双胍 格列本脲 板蓝根 感冒清热 银黄 双黄连 清开灵 牛黄解毒 "
        "藿香正气 六味地黄 地塞米松 泼尼松 利巴韦林 青霉素 庆大霉素 林可霉素 氯化钾 葡萄糖 "
        "氯化钠 甘露醇 硫酸镁 安乃近 氨基比林 柴胡 穿心莲 小檗碱 黄连素 螺旋霉素 土霉素 "
        "四环素 呋喃唑酮 颅痛定 谷维素 丹参 速效救心 硝酸甘油 肌苷 辅酶 三磷酸腺苷 克拉维酸钾 "
        "利多卡因 甲氧氯普胺 川贝枇杷 蛇胆川贝 急支 喷托维林 氨茶碱 沙丁胺醇 特布他林 "
        "复方丹参 银翘解毒 牛黄上清 三黄 黄芩 金银花 连花清瘟 蒲地蓝 小柴胡 逍遥 补中益气");
    return stems;
}

const QStringList& drugModifiers()
{
    static const QStringList modifiers = split("- 复方 小儿 盐酸 注射用 硫酸 乳酸 复合 儿童");
    return modifiers;
}

const QStringList& drugForms()
{
    static const QStringList forms = split("片 胶囊 颗粒 注射液 口服液 糖浆 软膏 缓释片 肠溶片 "
                                           "分散片 滴眼液 针 粉针 滴丸 冲剂");
    return forms;
}

const QStringList& drugStrengths()
{
    static const QStringList strengths =
        split("0.25×24 0.1g×12 250ml 2ml:4万 10mg×30 0.5g 100片 0.3×20 150mg×12 5mg×10 "
              "10g×10袋 100ml 1g 80万 0.125×12 20mg×14");
    return strengths;
}

const QStringList& drugUsages()
{
    static const QStringList usages =
        split("0.5_tid 1片_bid 2粒_tid 10ml_tid iv_gtt_qd im_bid 1袋_tid 外用 0.3_bid 150mg_bid "
              "2片_tid 1支_qd 5ml_tid 1g_iv_gtt 0.25_qid");
    return usages;
}

const QStringList& diagnosisQualifiers()
{
    static const QStringList qualifiers = split("- 急性 慢性 过敏性 病毒性 细菌性 反复发作性 小儿 "
                                                "老年性 单纯性 化脓性 复发性 轻度 重度");
    return qualifiers;
}

const QStringList& diagnosisSites()
{
    static const QStringList sites = split(
        "上呼吸道 支气管 胃 肠 胃肠 咽 扁桃体 鼻窦 中耳 结膜 皮肤 关节 腰椎 颈椎 肾 膀胱 尿道 "
        "胆囊 肝 肺 心肌 口腔 牙龈 腮腺 淋巴结 乳腺 前列腺 盆腔 甲状腺 气管");
    return sites;
}

const QStringList& diagnosisKinds()
{
    static const QStringList kinds =
        split("炎 感染 溃疡 结石 功能紊乱 出血 增生 损伤 疼痛 水肿 痉挛");
    return kinds;
}

const QStringList& diagnosisRiders()
{
    static const QStringList riders = split("- 伴发热 伴咳嗽 伴腹泻");
    return riders;
}

const QStringList& towns()
{
    static const QStringList names =
        split("青石镇 东关镇 柳河乡 白沙镇 马家店乡 桃园镇 双河镇 杨柳乡 红旗街道 新华街道 石桥镇 "
              "李家庄乡 黄土坡乡 清水镇 龙泉镇 高村乡 大营镇 南湖街道 北关街道 长丰镇");
    return names;
}

const QStringList& villagePlaces()
{
    static const QStringList first = split("东 西 南 北 前 后 上 下 大 小 新 老");
    return first;
}

const QStringList& villageKinds()
{
    static const QStringList second = split("山 河 岭 湾 沟 庄 屯 坡 营 寨 桥 店");
    return second;
}

const QStringList& groupNumbers()
{
    static const QStringList numbers = split("一组 二组 三组 四组 五组 六组 七组 八组 九组 十组 "
                                             "十一组 十二组");
    return numbers;
}

// The commonest surnames first, so that skewed picks give a realistic spread.
const QStringList& surnames()
{
    static const QStringList names =
        split("王 李 张 刘 陈 杨 黄 赵 吴 周 徐 孙 马 朱 胡 郭 何 高 林 罗 郑 梁 谢 宋 唐 许 韩 冯 "
              "邓 曹 彭 曾 肖 田 董 袁 潘 于 蒋 蔡 余 杜 叶 程 苏 魏 吕 丁 任 沈");
    return names;
}

const QStringList& givenNameCharacters()
{
    static const QStringList characters = split(
        "伟 芳 娜 秀 英 敏 静 丽 强 磊 军 洋 勇 艳 杰 娟 涛 明 超 兰 霞 平 刚 桂 文 辉 玲 华 "
        "建 国 红 梅 鹏 飞 志 宇 海 燕 云 峰 波 斌 宏 凤 荣 春 林 佳 欣 晨 浩 婷 雪 琳 子 涵 "
        "萍 淑 珍 玉 兵 亮 成 福 生 龙 元 全 胜 学 祥 才 发 德 利 清 诚 先 敬 震 振 壮 会 思");
    return characters;
}

QString pick(const QStringList& list, int index)
{
    const QString& word = list.at(index % list.size());
    return word == u"-" ? QString() : word;
}

} // namespace

SyntheticClinic::SyntheticClinic(quint64 seed) : m_random(seed) {}

int SyntheticClinic::below(int bound)
{
    return int(m_random() % quint64(bound));
}

int SyntheticClinic::skewedBelow(int bound, double power)
{
    // A power of a uniform number leans towards zero.
    const double u = double(m_random() >> 11) / double(1ULL << 53);
    return std::min(bound - 1, int(std::pow(u, power) * bound));
}

QList<int> SyntheticClinic::shuffledIndexes(int size)
{
    QList<int> indexes(size);
    std::iota(indexes.begin(), indexes.end(), 0);
    std::shuffle(indexes.begin(), indexes.end(), m_random);
    return indexes;
}

QList<ListEntry> SyntheticClinic::drugs(int count)
{
    const QStringList& stems = drugStems();
    const QStringList& modifiers = drugModifiers();
    const QStringList& forms = drugForms();
    QList<ListEntry> entries;
    entries.reserve(count);
    for (int i = 0; i < count; ++i) {
        const QString name = pick(modifiers, skewedBelow(modifiers.size())) +
                             pick(stems, below(stems.size())) + pick(forms, below(forms.size()));
        const QString shape = pick(drugStrengths(), below(drugStrengths().size()));
        QString text = name + QLatin1Char(' ') + shape;
        // Most drugs carry their usage after "/", as the drug window stores it.
        if (below(5) != 0) {
            QString usage = pick(drugUsages(), below(drugUsages().size()));
            text += QLatin1Char('/') + usage.replace(QLatin1Char('_'), QLatin1Char(' '));
        }
        entries.append({text, Pinyin::codeOfName(text)});
    }
    return entries;
}

QList<ListEntry> SyntheticClinic::diagnoses(int count)
{
    const int sites = int(diagnosisSites().size());
    const int kinds = int(diagnosisKinds().size());
    const int riders = int(diagnosisRiders().size());
    const int combinations = int(diagnosisQualifiers().size()) * sites * kinds * riders;
    QList<ListEntry> entries;
    entries.reserve(count);
    for (int combination : shuffledIndexes(combinations).first(std::min(count, combinations))) {
        const int rider = combination % riders;
        combination /= riders;
        const int kind = combination % kinds;
        combination /= kinds;
        const int site = combination % sites;
        const int qualifier = combination / sites;
        const QString name = pick(diagnosisQualifiers(), qualifier) + pick(diagnosisSites(), site) +
                             pick(diagnosisKinds(), kind) + pick(diagnosisRiders(), rider);
        entries.append({name, Pinyin::codeOfName(name)});
    }
    return entries;
}

QList<ListEntry> SyntheticClinic::addresses(int count)
{
    const int places = int(villagePlaces().size());
    const int kinds = int(villageKinds().size());
    const int groups = int(groupNumbers().size());
    const int combinations = int(towns().size()) * places * kinds * groups;
    QList<ListEntry> entries;
    entries.reserve(count);
    for (int combination : shuffledIndexes(combinations).first(std::min(count, combinations))) {
        const int group = combination % groups;
        combination /= groups;
        const int kind = combination % kinds;
        combination /= kinds;
        const int place = combination % places;
        const int town = combination / places;
        const QString name = pick(towns(), town) + pick(villagePlaces(), place) +
                             pick(villageKinds(), kind) + QStringLiteral("村") +
                             pick(groupNumbers(), group);
        entries.append({name, Pinyin::codeOfName(name)});
    }
    return entries;
}

QString SyntheticClinic::patientName()
{
    const QStringList& given = givenNameCharacters();
    // With this skew the commonest surname is worn by about one patient in fourteen.
    QString name = surnames().at(skewedBelow(int(surnames().size()), 1.5));
    const int length = below(3) == 0 ? 1 : 2;
    for (int i = 0; i < length; ++i)
        name += given.at(below(int(given.size())));
    return name;
}

QList<SyntheticClinic::Patient> SyntheticClinic::patients(int count,
                                                          const QList<ListEntry>& addresses,
                                                          const QString& dominantSurname)
{
    QList<Patient> pool;
    pool.reserve(count);
    for (int i = 0; i < count; ++i) {
        Patient patient;
        patient.name = patientName();
        if (!dominantSurname.isEmpty() && below(2) == 0)
            patient.name.replace(0, 1, dominantSurname);
        patient.sex = below(2) == 0 ? QStringLiteral("男") : QStringLiteral("女");
        patient.birthYear = 1925 + below(85);
        // Most patients live in the villages nearest the clinic.
        patient.address = addresses.at(skewedBelow(int(addresses.size()))).name;
        pool.append(patient);
    }
    return pool;
}

} // namespace quilloa::bench
