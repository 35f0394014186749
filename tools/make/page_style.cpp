#include "tools/make/page_style.h"

namespace corvane::make {

// A question page fills the 791 x 481 view exactly and the front page the 791 x 526 one, so a
// question that fits shows no scroll bar; one that does not fit scrolls rather than being cut.
QByteArray pageStyle() {
    return R"css(/* Shared look of this test's pages: a question page fills 791 x 481. Options and items
   stand in one row of cards that narrow to fit. */
html, body { margin: 0; height: 100%; }
body {
  font-family: "Comic Sans MS", "Comic Neue", "Liberation Sans", sans-serif;
  background: #fff7e6;
  color: #22313f;
}
.page {
  box-sizing: border-box;
  width: 791px;
  height: 481px;
  padding: 14px 32px 16px;
  display: flex;
  flex-direction: column;
}
.number {
  align-self: flex-start;
  margin: 0 0 6px;
  padding: 2px 14px;
  border-radius: 14px;
  background: #f97316;
  color: #fff;
  font-size: 18px;
  font-weight: bold;
}
h1 { margin: 0 0 10px; font-size: 30px; line-height: 1.2; }
.text { font-size: 24px; line-height: 1.35; }
.text p, .text ul, .text ol { margin: 0 0 8px; }
.text table { border-collapse: collapse; margin: 0 0 8px; }
.text th, .text td { border: 2px solid #fdba74; padding: 2px 14px; text-align: center; }
.text th { background: #fed7aa; }
img { max-width: 100%; max-height: 200px; vertical-align: middle; }
.pictures { text-align: center; }
.pictures img { margin: 0 10px; }
.picture {
  flex: 1;
  display: flex;
  align-items: center;
  justify-content: center;
  gap: 18px;
  min-height: 0;
}
.card {
  background: #fff;
  border: 3px solid #fdba74;
  border-radius: 16px;
  padding: 6px 20px;
  min-width: 0;
  flex: 0 1 auto;
  text-align: center;
  font-size: 28px;
}
.card img { max-height: 130px; }
.letter { display: block; font-size: 28px; font-weight: bold; color: #c2410c; }
.how {
  margin: auto 0 0;
  padding: 8px 16px;
  border-radius: 14px;
  background: #dbeafe;
  font-size: 21px;
}
.picture + .how { margin-top: 10px; }
.how b { color: #1d4ed8; }

/* Front page: a taller window, a bigger title and the start note. */
.front { height: 526px; padding: 22px 32px 16px; }
.front h1 { font-size: 44px; color: #c2410c; margin-bottom: 4px; }
.welcome { flex: 1; font-size: 26px; line-height: 1.4; }
.welcome p, .welcome ul, .welcome ol { margin: 0 0 8px; }
.welcome ul, .welcome ol { font-size: 22px; line-height: 1.45; }
.welcome img { max-height: 110px; }
.go {
  margin: 10px 0 0;
  padding: 10px 16px;
  border-radius: 14px;
  background: #fed7aa;
  font-size: 24px;
  text-align: center;
}
)css";
}

} // namespace corvane::make
