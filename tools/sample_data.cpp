#include "tools/sample_data.h"

#include <array>

namespace tools::sample {
namespace {

using namespace std::string_view_literals;

constexpr std::array kStaff = {
    Staff{"山田"sv, 6},     Staff{"山田太郎"sv, 4}, Staff{"山田花子"sv, 3}, Staff{"山口"sv, 2},
    Staff{"山本和也"sv, 2}, Staff{"佐藤"sv, 5},     Staff{"佐藤健一"sv, 3}, Staff{"佐藤美咲"sv, 2},
    Staff{"鈴木"sv, 4},     Staff{"鈴木一郎"sv, 3}, Staff{"高橋"sv, 3},     Staff{"高橋直樹"sv, 2},
    Staff{"田中"sv, 4},     Staff{"田中裕子"sv, 2}, Staff{"伊藤誠"sv, 2},   Staff{"渡辺"sv, 3},
    Staff{"渡辺恵"sv, 1},   Staff{"中村翔太"sv, 2}, Staff{"小林"sv, 2},     Staff{"小林由美"sv, 1},
    Staff{"林"sv, 2},       Staff{"林優子"sv, 1},   Staff{"加藤大輔"sv, 2}, Staff{"吉田"sv, 3},
    Staff{"吉田真理"sv, 1}, Staff{"松本"sv, 2},     Staff{"井上"sv, 2},     Staff{"木村"sv, 2},
    Staff{"清水"sv, 1},     Staff{"斎藤"sv, 2},     Staff{"森"sv, 1},       Staff{"森本"sv, 1},
    Staff{"池田"sv, 2},     Staff{"橋本"sv, 1},     Staff{"石川"sv, 1},     Staff{"前田"sv, 1},
};

constexpr std::array kCompanies = {
    "東和物産"sv,         "北斗建設"sv,
    "青葉不動産"sv,       "三光化学工業"sv,
    "大和運輸"sv,         "富士見システム"sv,
    "朝日野印刷"sv,       "桜台電機"sv,
    "緑川製作所"sv,       "白石食品"sv,
    "若葉設計事務所"sv,   "明星商会"sv,
    "千歳精機"sv,         "銀河ソフト"sv,
    "旭丘商事"sv,         "株式会社ひばり"sv,
    "有限会社松風"sv,     "中央総合病院"sv,
    "市役所 税務課"sv,    "県立西高校"sv,
    "みどり信用金庫"sv,   "港南倉庫"sv,
    "丸山法律事務所"sv,   "あおぞら保険"sv,
    "日之出鋼材"sv,       "北辰エンジニアリング"sv,
    "星野税理士事務所"sv, "東雲ホテル"sv,
    "さくら薬局"sv,       "大川紙工"sv,
    "新栄パッケージ"sv,   "天神リース"sv,
    "光陽電子"sv,         "平和警備保障"sv,
    "ミナト商事"sv,       "協和テクノ"sv,
    "広報社"sv,           "昭和塗装"sv,
    "第一交通"sv,         "かもめ急便"sv,
    "西部ガス器"sv,       "山手クリニック"sv,
    "グリーン園芸"sv,     "藤が丘幼稚園"sv,
    "オフィス三浦"sv,     "竹内建築"sv,
    "東洋事務機"sv,       "新町自治会"sv,
};

constexpr std::array kCallerNames = {
    "中島"sv, "小川"sv, "岡田"sv, "後藤"sv, "長谷川"sv, "村上"sv, "近藤"sv, "石井"sv,
    "坂本"sv, "遠藤"sv, "青木"sv, "藤井"sv, "西村"sv,   "福田"sv, "太田"sv, "三浦"sv,
    "岡本"sv, "松田"sv, "中川"sv, "中野"sv, "原田"sv,   "小野"sv, "田村"sv, "竹内"sv,
    "金子"sv, "和田"sv, "中山"sv, "藤田"sv, "上田"sv,   "石田"sv, "森田"sv, "原"sv,
    "柴田"sv, "酒井"sv, "工藤"sv, "横山"sv, "宮崎"sv,   "宮本"sv, "内田"sv, "高木"sv,
    "安藤"sv, "谷口"sv, "大野"sv, "丸山"sv, "今井"sv,   "河野"sv, "藤原"sv, "小島"sv,
};

constexpr std::string_view kDefaultMemo = "お電話をさしあげてください。"sv;

constexpr std::array kMemos = {
    Memo{"折り返しお電話ください。"sv},
    Memo{"またお電話するそうです。"sv},
    Memo{"%d時頃にもう一度お電話するそうです。"sv, 9, 18},
    Memo{"見積書の件でお電話がありました。"sv},
    Memo{"見積番号%dの件で確認したいことがあるそうです。"sv, 10000, 99999},
    Memo{"納期の確認をお願いしたいとのことです。"sv},
    Memo{"打ち合わせの時間が%d時に変更になりました。"sv, 9, 17},
    Memo{"至急連絡がほしいそうです。携帯にお願いします。"sv},
    Memo{"資料を受け取ったとのことです。"sv},
    Memo{"明日の打ち合わせは予定どおりとのことです。"sv},
    Memo{"請求書の再発行をお願いしたいそうです。"sv},
    Memo{"出張先からの連絡です。夕方に戻ります。"sv},
    Memo{"ＦＡＸを送ったので確認してほしいとのことです。"sv},
    Memo{"来週の訪問日程について相談したいそうです。"sv},
    Memo{"お礼のお電話でした。"sv},
    Memo{"伝言はありません。"sv},
    Memo{"商品の在庫について問い合わせがありました。"sv},
    Memo{"契約書の件、担当者に確認してほしいとのことです。"sv},
    Memo{"本日は直帰するとのことです。"sv},
    Memo{"午後から外出されるので、午前中に連絡がほしいそうです。"sv},
    Memo{"メールを送ったので見てほしいとのことです。"sv},
    Memo{"内線%dまでお電話ください。"sv, 100, 899},
    Memo{"注文番号%dの配送状況を知りたいそうです。"sv, 100000, 999999},
    Memo{"会議室の予約を変更してほしいとのことです。"sv},
    Memo{"ご不在でしたので、戻られたら連絡がほしいとのことです。"sv},
    Memo{"先日の件、社内で検討した結果を伝えたいそうです。"sv},
    Memo{"工事の日程が決まったので連絡したいそうです。"sv},
    Memo{"サンプルを%d個追加で送ってほしいとのことです。"sv, 1, 20},
    Memo{"Ｗｅｂ会議のＵＲＬを送ってほしいそうです。"sv},
    Memo{"健康診断の日程の件です。総務まで連絡ください。"sv},
    Memo{"ご依頼の修理が終わったとのことです。引き取りは明日以降。"sv},
    Memo{"打ち合わせ資料の修正版を今日中に送るとのことです。確認後、問題があれば担当の方へ直接"
         "ご連絡いただきたいそうです。急ぎではありません。"sv},
    Memo{"お客様がお見えです。受付でお待ちです。"sv},
    Memo{"折り返し不要とのことです。"sv},
};

constexpr std::array kAreaCodes = {
    "03"sv,  "06"sv,  "045"sv,  "052"sv, "092"sv, "011"sv,
    "022"sv, "048"sv, "0120"sv, "090"sv, "080"sv, "070"sv,
};

}  // namespace

std::span<const Staff> staff() {
    return kStaff;
}
std::span<const std::string_view> companies() {
    return kCompanies;
}
std::span<const std::string_view> callerNames() {
    return kCallerNames;
}
std::string_view defaultMemo() {
    return kDefaultMemo;
}
std::span<const Memo> memos() {
    return kMemos;
}
std::span<const std::string_view> areaCodes() {
    return kAreaCodes;
}

}  // namespace tools::sample
