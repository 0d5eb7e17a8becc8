#include "platform/win/user/LayerWords.h"
#include <cstring>
#include "platform/win/kernel/Kernel.h"

namespace {
#define TB_LANG_ARABIC 0x01

// English as the layer and Qt's dialogs spell it, then Arabic.
const struct { const char* pszEnglish; const char* pszArabic; } s_words[] = {
    // Message boxes.
    {"Error", "خطأ"}, {"OK", "موافق"}, {"Cancel", "إلغاء"}, {"&Yes", "&نعم"}, {"&No", "&لا"},
    {"Abort", "إحباط"}, {"Retry", "إعادة المحاولة"}, {"Ignore", "تجاهل"},
    // The file chooser.
    {"Save As", "حفظ باسم"}, {"Open", "فتح"}, {"&Open", "&فتح"}, {"&Save", "&حفظ"}, {"Look in:", "البحث في:"},
    {"File &name:", "اسم ال&ملف:"}, {"Files of type:", "نوع الملفات:"}, {"Name", "الاسم"}, {"Size", "الحجم"},
    {"Type", "النوع"}, {"Date Modified", "تاريخ التعديل"},
    {"Computer", "الكمبيوتر"}, {"Folder", "مجلد"}, {"File", "ملف"}, {"%1 File", "ملف %1"}, {"Drive", "محرك أقراص"},
    {"Alias", "اسم مستعار"}, {"Shortcut", "اختصار"}, {"Unknown", "غير معروف"}, {"Back", "رجوع"},
    {"Forward", "تقدم"}, {"Parent Directory", "المجلد الأعلى"}, {"Create New Folder", "إنشاء مجلد جديد"},
    {"List View", "عرض القائمة"}, {"Detail View", "عرض التفاصيل"}, {"New Folder", "مجلد جديد"},
    {"&New Folder", "مجلد &جديد"}, {"&Rename", "إعادة ت&سمية"}, {"&Delete", "&حذف"},
    {"Show &hidden files", "إظهار الملفات ال&مخفية"}, {"Recent Places", "الأماكن الأخيرة"},
    {"Directory:", "المجلد:"}, {"&Choose", "ا&ختيار"}, {"Sidebar", "الشريط الجانبي"},
    {"%1 already exists.\nDo you want to replace it?", "%1 موجود من قبل.\nهل تريد استبداله؟"},
    {"%s already exists.\nDo you want to replace it?", "%s موجود من قبل.\nهل تريد استبداله؟"},
    // The font chooser.
    {"Select Font", "اختيار الخط"}, {"&Font", "ال&خط"}, {"Font st&yle", "&نمط الخط"}, {"&Size", "ال&حجم"},
    {"Effects", "تأثيرات"}, {"Stri&keout", "يتوسطه &خط"}, {"&Underline", "&تسطير"}, {"Sample", "عينة"},
    {"Wr&iting System", "نظام ال&كتابة"},
    // The colour chooser.
    {"Select Color", "اختيار اللون"}, {"&Basic colors", "الألوان ال&أساسية"}, {"&Custom colors", "الألوان ال&مخصصة"},
    {"&Add to Custom Colors", "إ&ضافة إلى الألوان المخصصة"}, {"&Pick Screen Color", "ا&لتقاط لون من الشاشة"},
    {"Hu&e:", "ال&تدرج:"}, {"&Sat:", "الت&شبع:"}, {"&Val:", "ال&قيمة:"}, {"&Red:", "الأ&حمر:"},
    {"&Green:", "الأ&خضر:"}, {"Bl&ue:", "الأ&زرق:"}, {"A&lpha channel:", "ال&شفافية:"},
    // A window's system menu.
    {"&Restore", "ا&ستعادة"}, {"&Move", "&نقل"}, {"Mi&nimize", "ت&صغير"},
    {"Ma&ximize", "تك&بير"}, {"&Close", "إ&غلاق"}, {"Nex&t", "ال&تالي"}, {"Stay on &Top", "البقاء في الم&قدمة"},
    // The window list of the Window menu.
    {"&More Windows...", "&نوافذ أخرى..."}, {"Select Window", "اختيار نافذة"},
    // Print setup and a printer's document properties.
    {"Print Setup", "إعداد الطباعة"}, {"Printer", "الطابعة"}, {"Name:", "الاسم:"}, {"Type:", "النوع:"},
    {"Where:", "المكان:"}, {"Comment:", "تعليق:"}, {"Paper", "الورق"}, {"Size:", "الحجم:"}, {"Source:", "المصدر:"},
    {"Automatically select", "اختيار تلقائي"}, {"Orientation", "الاتجاه"}, {"Portrait", "طولي"},
    {"Landscape", "عرضي"}, {"Document properties", "خصائص المستند"}, {"Paper:", "الورق:"},
    {"Orientation:", "الاتجاه:"}, {"Copies:", "النسخ:"}, {"Collate", "ترتيب النسخ"}, {"Colour", "بالألوان"},
};
}  // namespace

BOOL TbUserReadsArabic()
{
    // The primary language of the thread's locale (0x3401: Arabic, Kuwait).
    return (GetThreadLocale() & 0x3FF) == TB_LANG_ARABIC;
}

const char* TbArabicLayerWord(const char* pszEnglish)
{
    if (pszEnglish == nullptr)
        return nullptr;
    for (const auto& word : s_words)
        if (strcmp(word.pszEnglish, pszEnglish) == 0)
            return word.pszArabic;
    return nullptr;
}

const char* TbLayerWord(const char* pszEnglish)
{
    const char* pszArabic = TbUserReadsArabic() ? TbArabicLayerWord(pszEnglish) : nullptr;
    return pszArabic != nullptr ? pszArabic : pszEnglish;
}
