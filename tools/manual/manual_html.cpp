#include "tools/manual/manual_html.h"

#include <array>
#include <sstream>
#include <vector>

#include "dialogs/file_dialog.h"
#include "screens/game_layout.h"
#include "sim/colony.h"
#include "sim/colony_state.h"
#include "sim/earth_report.h"
#include "sim/structure_catalogue.h"

namespace manual {

namespace {

constexpr std::string_view kStyle = R"(
body { font-family: "Liberation Sans", "DejaVu Sans", sans-serif; background: #f4ece2;
       color: #2a2118; margin: 0; line-height: 1.45; }
main { max-width: 940px; margin: 0 auto; padding: 8px 24px 48px; }
h1 { color: #00409f; font-size: 2.2em; margin-bottom: 0.2em; }
h2 { color: #00409f; border-bottom: 3px solid #b8964f; padding-bottom: 2px; margin-top: 1.8em; }
h3 { color: #2a4f8f; margin-bottom: 0.3em; }
nav { background: #e6d3bb; border: 1px solid #b8964f; padding: 6px 14px; column-count: 2; }
nav a { display: block; }
a { color: #00409f; }
img.shot { max-width: 100%; border: 1px solid #8a7050; display: block; margin: 10px 0; }
table { border-collapse: collapse; margin: 10px 0; width: 100%; }
th, td { border: 1px solid #c9b08e; padding: 3px 7px; vertical-align: middle; text-align: left; }
th { background: #e6d3bb; }
td.num { text-align: right; white-space: nowrap; }
td.pic { width: 78px; text-align: center; background: #efe3d3; }
td.pic img { width: 72px; }
td.icon img { width: 28px; }
kbd { border: 1px solid #8a7050; border-radius: 3px; padding: 0 4px; background: #fffaf2;
      font-family: "DejaVu Sans Mono", monospace; font-size: 0.9em; }
.note { background: #fffaf2; border-left: 4px solid #b8964f; padding: 6px 12px; }
.quote { font-style: italic; }
)";

// The catalogue's columns a finished structure adds, with their names in the manual.
struct Effect {
  std::string_view name;
  std::int32_t sim::StructureSpec::*field;
};
constexpr std::array<Effect, 8> kEffects = {{
    {"water", &sim::StructureSpec::water},
    {"power", &sim::StructureSpec::power},
    {"food", &sim::StructureSpec::food},
    {"free housing", &sim::StructureSpec::freeHousing},
    {"mental health", &sim::StructureSpec::mentalHealth},
    {"reproduction", &sim::StructureSpec::reproduction},
    {"health", &sim::StructureSpec::health},
    {"communications", &sim::StructureSpec::communications},
}};

// What each building category is for, in the player's words.
constexpr std::array<std::string_view, sim::kCategoryCount> kCategoryIntro = {
    "",
    "",
    "Water and energy come first: every colonist drinks, and almost every structure takes "
    "water or power (or both) once it stands.",
    "Food keeps the colony growing. Crops, the fish farm and the farm need water; their "
    "fields look lush while food is plentiful and wither when water or food runs out.",
    "Homes give free housing. A colony without free housing stops growing.",
    "Happy structures lift the colonists' mood and, some of them, their wish for children. The "
    "Job Center employs forty colonists, for a colony with more people than work.",
    "Serious structures keep the colony healthy, calm and in check: the hospital for health, "
    "the church and the library for the mind, birth control against too many births.",
    "Communications link the colony: highways join the houses, PellNet and the telescope raise "
    "communications, and a Communication Center opens the link to Earth. Only one "
    "Communication Center can stand at a time.",
};

std::string Figure(std::int32_t v) {
  std::string out = v > 0 ? "+" : v < 0 ? "&minus;" : "";
  out += std::to_string(v < 0 ? -v : v);
  return out;
}

std::string Effects(const sim::StructureSpec& spec) {
  std::string out;
  for (const Effect& e : kEffects) {
    const std::int32_t v = spec.*(e.field);
    if (v == 0) continue;
    if (!out.empty()) out += ", ";
    out += Figure(v) + " " + std::string(e.name);
  }
  return out.empty() ? "nothing of its own" : out;
}

std::string Img(const std::string& src, std::string_view alt, std::string_view cls = "") {
  std::string tag = "<img src=\"" + Escape(src) + "\" alt=\"" + Escape(alt) + "\"";
  if (!cls.empty()) tag += " class=\"" + std::string(cls) + "\"";
  return tag + ">";
}

// A figure of the Earth report's lines: what each line looks at.
sim::ColonyState StateFor(std::int32_t line, std::int32_t v) {
  sim::ColonyState s;
  s.population = 10;
  s.water = s.food = s.power = s.freeHousing = 50;
  s.health = 25;
  s.birthControl = 1;
  s.reproduction = 20;
  switch (line) {
    case 0:
      s.water = v;
      break;
    case 1:
      s.food = v;
      break;
    case 2:
      s.power = v;
      break;
    case 3:
      s.freeHousing = v;
      break;
    case 4:
      s.health = v;
      break;
    case 5:
      s.mentalHealth = v;
      break;
    case 6:
      s.reproduction = v;
      break;
    case 7:
      s.communications = v;
      break;
    default:
      s.growthRate = static_cast<float>(v);
      break;
  }
  return s;
}

constexpr std::array<std::string_view, sim::kAssessmentLines> kLineFigures = {
    "water",
    "food",
    "power",
    "free housing",
    "health less the disease",
    "mental health",
    "reproduction",
    "communications (a tenth of it while Earth listens)",
    "growth rate, whole percent"};

}  // namespace

std::string ManualPictures::Structure(std::int32_t type) const {
  if (type == sim::kHighway) return folder + "tiles0-38.png";
  const sim::StructureLook& look = sim::LookOf(type);
  const std::int32_t frame = look.finishedFrame + (sim::IsFoodProducer(type) ? 3 : 0);
  return folder + "tiles1-" + std::to_string(frame) + ".png";
}

std::string ManualPictures::ToolbarIcon(std::int32_t column) const {
  return folder + "TBButtonI-" + std::to_string(column) + ".png";
}

std::string ManualPictures::TabIcon(std::int32_t column) const {
  return folder + "TBConstI-" + std::to_string(column) + ".png";
}

std::string ManualPictures::Screenshot(std::string_view name) const {
  return folder + std::string(name) + ".png";
}

std::string Escape(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
        break;
    }
  }
  return out;
}

std::string KeyName(std::uint16_t key) {
  if (key >= platform::vk::kF1 && key <= platform::vk::kF12) {
    std::string name = "F";
    name += std::to_string(key - platform::vk::kF1 + 1);
    return name;
  }
  switch (key) {
    case platform::vk::kEscape:
      return "Esc";
    case platform::vk::kReturn:
      return "Enter";
    case platform::vk::kLeft:
      return "&larr;";
    case platform::vk::kUp:
      return "&uarr;";
    case platform::vk::kRight:
      return "&rarr;";
    case platform::vk::kDown:
      return "&darr;";
    default:
      return std::string(1, static_cast<char>(key));
  }
}

std::string LevelRange(std::int32_t line, std::int32_t level) {
  // The figures where the game's report gives this level, as one range.
  constexpr std::int32_t kLow = -400, kHigh = 400;
  std::int32_t first = kHigh + 1, last = kLow - 1;
  for (std::int32_t v = kLow; v <= kHigh; ++v) {
    if (sim::AssessmentLevels(StateFor(line, v))[static_cast<std::size_t>(line)] != level) continue;
    first = std::min(first, v);
    last = std::max(last, v);
  }
  if (first > last) return "";
  std::string range;
  if (first == kLow) {
    range = "below ";
    range += std::to_string(last + 1);
  } else if (last == kHigh) {
    range = std::to_string(first) + " and more";
  } else {
    range = std::to_string(first) + " to " + std::to_string(last);
  }
  return range;
}

void WriteManual(std::ostream& out, const ManualPictures& pictures) {
  out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
         "<title>Redhollow: the player's manual</title>\n<style>"
      << kStyle << "</style>\n</head>\n<body>\n<main>\n";

  out << R"(<h1>Redhollow</h1>
<p><b>The player's manual.</b> You land on the planet Pell with ten colonists and a landing
module, the P.E.M. Build a colony around it, cell by cell: water and power first, then food and
homes, then what keeps the colonists happy, healthy and in touch. Keep the balances ahead of the
colony's growth, weather the diseases, link the colony to Earth, and earn Earth's best verdict.
The colony is lost when its last colonist is gone.</p>
<nav>
<a href="#start">Starting out</a><a href="#screen">The game screen</a>
<a href="#build">Building</a><a href="#structures">Every structure</a>
<a href="#balances">Balances and shortages</a><a href="#growth">How the colony grows</a>
<a href="#diseases">Diseases</a><a href="#earth">Earth and its report</a>
<a href="#end">When the colony dies out</a><a href="#keys">Keys</a><a href="#options">Options</a>
<a href="#window">Full screen or a window</a><a href="#saves">Saving and loading</a>
<a href="#autosave">Autosave</a><a href="#screenshots">Screenshots</a>
<a href="#art">Changing the art</a>
</nav>
)";

  // --- starting out ---
  out << "<h2 id=\"start\">Starting out</h2>\n"
      << Img(pictures.Screenshot("screen-menu"), "The title screen", "shot") << R"(
<p>The title screen offers six buttons: <b>New Game</b> lands a new colony on a new map,
<b>Load Game</b> brings back a saved one, <b>Help</b> opens this manual, <b>Credits</b> tells who
made the game, <b>Options</b> sets sound and screen (see <a href="#options">Options</a>), and
<b>Quit</b> ends it at once. <kbd>Esc</kbd> asks first whether you really want to leave.</p>
<p>A new colony starts paused, on day 1 of Vernalis in the year 2001: nothing happens until you
start time with <kbd>F6</kbd> or <kbd>F7</kbd>, so look around first.</p>
)";

  // --- the screen ---
  out << "<h2 id=\"screen\">The game screen</h2>\n"
      << Img(pictures.Screenshot("screen-colony"), "A colony some months after landing", "shot")
      << R"(
<p>The map fills the screen below a strip of controls. On the strip's left half is the
<b>info area</b> with the eight <b>category tabs</b> below it, the <b>Earth Comm</b> button and the
<b>minimap</b>; on its right half the <b>calendar</b>, the <b>counters</b> and the
<b>toolbar</b>. Rest the pointer on a button and its name appears after a moment.</p>
<h3>The map and the minimap</h3>
<p>Only the land around the landing module is explored at first; building explores the land
around each new structure. The arrow keys scroll the map, and so does resting the pointer on an
edge of the screen. The minimap shows the whole planet with a red frame around what the map
shows: click it to go there.</p>
<p>The mouse wheel zooms the map about the ground under the pointer: up to come closer, down to
see more of the land. There are five scales, 50&nbsp;%, 71&nbsp;%, 100&nbsp;% (the pictures' own
size, where a new game starts), 141&nbsp;% and 200&nbsp;%; <kbd>+</kbd> and <kbd>-</kbd> zoom
about the middle of the view. Building, selecting and scrolling work the same at every scale, and
the game remembers the scale for the next time you load a colony.</p>
)" << Img(pictures.Screenshot("screen-zoom-out"), "The colony at 50 %", "shot") << R"(
<h3>The category tabs and the info area</h3>
<table><tr><th>Tab</th><th>Shows</th></tr>
)";
  for (std::int32_t i = 0; i < sim::kCategoryCount; ++i) {
    const std::string what =
        i == 0   ? "the <b>Status</b> page: the colony's balances as bars, the population, the "
                   "unemployed and the growth rate"
        : i == 1 ? "the <b>Information</b> page: the structure you clicked, its days left and a "
                   "chart of what it does, with <b>Delete building</b>"
                 : "the structures of this category, to pick one to build";
    out << "<tr><td class=\"icon\">" << Img(pictures.TabIcon(i), sim::CategoryHints[i]) << " "
        << Escape(sim::CategoryHints[static_cast<std::size_t>(i)]) << "</td><td>" << what
        << "</td></tr>\n";
  }
  out << "<tr><td class=\"icon\">" << Img(pictures.TabIcon(screens::kEarthCommIcon), "Earth Comm")
      << " Earth Comm</td><td>Earth's report, once the colony has contact with Earth (see "
         "<a href=\"#earth\">Earth and its report</a>)</td></tr>\n</table>\n";
  out << Img(pictures.Screenshot("strip-status"), "The Status page", "shot");
  out << R"(<h3>The calendar and the counters</h3>
<p>The calendar shows the year, the month and the day. A year on Pell has 24 months of 28 days,
but Hexavernalis, Hexestas and Hexautumn have 27, and Hexember has 27 in four years of every ten:
669 days, or 668. The months are )";
  for (std::size_t m = 0; m < sim::MonthNames.size(); ++m)
    out << (m == 0                            ? ""
            : m + 1 == sim::MonthNames.size() ? " and "
                                              : ", ")
        << Escape(sim::MonthNames[m]);
  out << ".</p>\n"
      << Img(pictures.Screenshot("strip-counters"), "The calendar, the counters and the toolbar",
             "shot")
      << R"(<p>The four counters are the colony's <b>water</b>, <b>food</b>, <b>power</b> and
<b>free housing</b>, what is left after every colonist and structure took its share. Each is shown
from 0 to 999 and coloured by its value: <b style="color:#d00000">red</b> below 10 (short),
<b style="color:#a08000">yellow</b> from 10 to 19 (tight), <b style="color:#008000">green</b> from
20 to 129, yellow again from 130 to 149 and red from 150 (so much water or food invites a
disease). Below them: the population with the share of it out of work, and the growth rate in
percent a year, green when the colony grows.</p>
<h3>The toolbar</h3>
<table><tr><th>Button</th><th>Key</th><th>What it does</th></tr>
)";
  constexpr std::array<std::string_view, 9> kToolbarUse = {
      "starts a new colony, after asking",
      "loads a saved game",
      "saves the colony",
      "opens this manual",
      "stops time",
      "runs time: a day every half second",
      "runs time fast: a day every 40 ms",
      "minimises the game",
      "ends the game, after asking",
  };
  for (std::size_t i = 0; i < screens::kToolbar.size(); ++i) {
    const screens::ToolButtonRow& row = screens::kToolbar[i];
    out << "<tr><td class=\"icon\">"
        << Img(pictures.ToolbarIcon(static_cast<std::int32_t>(i)), row.hint) << " "
        << Escape(row.hint.substr(0, row.hint.find(" <"))) << "</td><td><kbd>" << KeyName(row.key)
        << "</kbd></td><td>" << kToolbarUse[i] << "</td></tr>\n";
  }
  out << "</table>\n";

  // --- building ---
  out << "<h2 id=\"build\">Building</h2>\n"
      << Img(pictures.Screenshot("strip-palette"), "The Housing palette", "shot") << R"(
<ol>
<li>Choose a building category with its tab (Water and Power, Food, Housing, 'Happy' and
'Serious' structures, Communications) and a structure on the palette that opens above the tabs.</li>
<li>Move the pointer over the map. Where you can build, the pointer becomes a green cell: the cell
must be explored and empty, and enough colonists must be out of work to build it. A structure
that wants more builders than you have is marked <i>Insufficient people</i> on the palette.</li>
<li>Click the cell. The structure also needs the water and the power it will take: if the colony
has too little, you are told and nothing is built.</li>
</ol>
<p>The builders leave work at once; the building site grows day by day, and on its last day the
structure stands: the builders come back, the workers it needs go to it, and its effects join
the colony's balances. Highways are laid at once and join their neighbours.</p>
<p>Click a structure (the pointer is a hand over it) to see it on the <b>Information</b> page;
right-click to let go of it. <b>Delete building</b> on that page pulls it down: a building site
gives its builders back, a finished structure takes its effects away and frees its workers. The
landing module cannot be pulled down.</p>
)" << Img(pictures.Screenshot("strip-information"), "The Information page of a structure", "shot");

  // --- every structure ---
  out << "<h2 id=\"structures\">Every structure</h2>\n<p>Builders are taken while the "
         "structure is built and return when it stands; workers are taken while it stands. "
         "The effects are what the finished structure adds to the colony's balances.</p>\n";
  const auto row = [&](sim::StructureType type) {
    const sim::StructureSpec& spec = sim::SpecOf(type);
    out << "<tr><td class=\"pic\">" << Img(pictures.Structure(type), sim::NameOf(type))
        << "</td><td><b>" << Escape(sim::NameOf(type)) << "</b></td><td class=\"num\">"
        << spec.builders << "</td><td class=\"num\">" << spec.buildDays << "</td><td class=\"num\">"
        << spec.workers << "</td><td>" << Effects(spec) << "</td></tr>\n";
  };
  const std::string_view head =
      "<table><tr><th></th><th>Structure</th><th>Builders</th><th>Days</th><th>Workers</th>"
      "<th>Effects when finished</th></tr>\n";
  out << "<h3>The landing module</h3>\n<p>The colony's first home, which brings its first "
         "balances. It stands from the start and cannot be pulled down.</p>\n"
      << head;
  row(sim::kLandingModule);
  out << "</table>\n";
  for (std::int32_t category = sim::kFirstBuildingCategory; category < sim::kCategoryCount;
       ++category) {
    out << "<h3>" << Escape(sim::CategoryHints[static_cast<std::size_t>(category)]) << "</h3>\n<p>"
        << kCategoryIntro[static_cast<std::size_t>(category)] << "</p>\n"
        << head;
    for (std::int32_t item = 0; item < sim::kItemsPerCategory; ++item) {
      const sim::StructureType type = sim::PaletteType(category, item);
      if (sim::InitialPaletteSlots[static_cast<std::size_t>(
              sim::PaletteSlotIndex(category, item))] == 1)
        row(type);
    }
    out << "</table>\n";
  }

  // --- balances ---
  out << R"(<h2 id="balances">Balances and shortages</h2>
<p>Every colonist takes one unit of water, food, free housing and communications; every finished
structure adds or takes what its row above says. The Status page shows the balances:</p>
<ul>
<li><b>Water, food, power, free housing</b>: as bars from nothing to 160 and as the counters.</li>
<li><b>Health</b> (less a running disease), <b>mental health</b>, <b>reproduction</b> (divided by
birth control) and <b>communications</b> (a tenth of it while Earth listens): as bars that grow
from the middle, to the right when positive.</li>
</ul>
<p><b>Shortages pull structures down.</b> When power falls below nothing, or when the colony has
fewer people than its structures need (deaths can do that), the newest structures are pulled
down, one after the other, until the power and the people suffice again. A building site gives
back only its builders, so a power shortage can take several. You hear the alarm and read:</p>
<ul>)";
  for (const std::string_view text : {sim::kTextPowerShortage, sim::kTextPeopleShortage})
    out << "<li class=\"quote\">" << Escape(text) << "</li>";
  out << R"(</ul>
<p>No free housing stops the colony's growth; no food or no water makes it shrink fast (see
below). A structure is refused when there are too few people, water or power for it:</p>
<ul>)";
  for (const std::string_view text : {sim::kTextNoPeople, sim::kTextNoWater, sim::kTextNoPower})
    out << "<li class=\"quote\">" << Escape(text) << "</li>";
  out << "</ul>\n";

  // --- growth ---
  out << R"(<h2 id="growth">How the colony grows</h2>
<p>The <b>growth rate</b>, in percent a year, moves by a tenth each day towards a target, which
is the births less the deaths:</p>
<ul>
<li><b>Births</b> rise with reproduction (divided by birth control) and with the share of
colonists out of work: idle colonists have children. Without reproduction there are none.</li>
<li><b>Deaths</b> fall as health rises: with health 6 about ten in a hundred a year die, with
health 0 a quarter; a disease counts against health, and one stronger than health makes
deaths climb fast.</li>
<li>A small colony with plenty gets a push: more than 50 food while there are fewer than 60
colonists, more than 50 water under 40 colonists, more than 50 free housing under 20.</li>
<li>The target stays between &minus;50 and +50. Without free housing it is at most &minus;1;
without food at most &minus;20 and without water at most &minus;50, and these two, like a
running disease, also pull the rate down a tenth more each day.</li>
</ul>
<p>Each day the colony's population times its rate, over a year of 669 days, is added up; each
time the sum passes a whole colonist, one arrives (or leaves). New colonists are out of work
until a structure needs them.</p>
)";

  // --- diseases ---
  out << R"(<h2 id="diseases">Diseases</h2>
<p>While no disease runs, each day may start one:</p>
<ul>
<li>with more than 160 water, one day in a hundred: a contagious disease of strength 50 to 99;</li>
<li>with more than 160 food, one day in two hundred: a food poisoning of strength 25 to 49;</li>
<li>any day, one in 32,000: a Pellian virus of strength 100 to 199.</li>
</ul>
<p>A disease loses one point every 11 days. While it lasts, its strength counts against health
and the growth rate falls a tenth each day. Hospitals raise health; keeping water and food
below 160 keeps the first two away. The alarm sounds and you read:</p>
<ul>)";
  for (const std::string_view text :
       {sim::kTextWaterDisease, sim::kTextFoodPoisoning, sim::kTextVirus})
    out << "<li class=\"quote\">" << Escape(text) << "</li>";
  out << "</ul>\n";

  // --- earth ---
  out << "<h2 id=\"earth\">Earth and its report</h2>\n<p>Build a <b>Communication Center</b> "
         "(it takes "
      << sim::SpecOf(sim::kCommCenter).buildDays
      << " days). When it stands you read <span class=\"quote\">" << Escape(sim::kTextContactOn)
      << "</span> and <b>Earth Comm</b> opens Earth's report. Pulling the centre down loses the "
         "contact (<span class=\"quote\">"
      << Escape(sim::kTextContactLost) << "</span>).</p>\n"
      << Img(pictures.Screenshot("dialog-earth"), "Earth's report", "shot") << R"(
<p>The report has three parts.</p>
<p><b>The citizens' complaints</b>, one letter at a time: houses without a highway next to
them, houses next to a disco or a casino, a church next to a pub, disco, love center or casino,
a hospital or a library next to a disco, a telescope next to flats or a skyscraper, and too many
colonists out of work. "Next to" means the cell up-left, up or left of a structure on the map.
Each complaint counts from 0 to 4 and costs as many points.</p>
<p><b>Nine assessments</b>, each worth points by its level:</p>
<table><tr><th>Looks at</th><th>Figure</th><th>What Earth writes</th><th>Points</th></tr>
)";
  for (std::int32_t line = 0; line < sim::kAssessmentLines; ++line) {
    for (std::int32_t level = 0; level < sim::kAssessmentLevels; ++level) {
      const std::string_view text = sim::AssessmentTexts[line][level];
      if (text.empty()) continue;
      out << "<tr><td>" << (level == 0 ? std::string(kLineFigures[line]) : "") << "</td><td>"
          << LevelRange(line, level) << "</td><td class=\"quote\">" << Escape(text.substr(1))
          << "</td><td class=\"num\">" << Figure(sim::AssessmentPoints[line][level])
          << "</td></tr>\n";
    }
  }
  out << R"(</table>
<p><b>The verdict and the score.</b> The points less the complaints (never below 0), divided by
four, choose the verdict; the best needs 36 points. The score is the population times the
verdict's number (0 to 9) over ten.</p>
<table><tr><th>Points</th><th>Verdict</th></tr>
)";
  for (std::int32_t v = 0; v < sim::kVerdictCount; ++v) {
    out << "<tr><td class=\"num\">" << (v * 4);
    if (v == 9) {
      out << " and more";
    } else {
      out << " to " << (v * 4 + 3);
    }
    out << "</td><td class=\"quote\">" << Escape(sim::VerdictTexts[v]) << "</td></tr>\n";
  }
  out << "</table>\n";

  // --- the end ---
  out << "<h2 id=\"end\">When the colony dies out</h2>\n<p>When the last colonist is gone the "
         "game asks <span class=\"quote\">"
      << Escape(sim::kTextGameOver) << "</span> Yes starts a new colony; No ends the game.</p>\n";

  // --- keys ---
  out << R"(<h2 id="keys">Keys</h2>
<table><tr><th>Key</th><th>What it does</th></tr>
)";
  for (const screens::ToolButtonRow& r : screens::kToolbar)
    out << "<tr><td><kbd>" << KeyName(r.key) << "</kbd></td><td>"
        << Escape(r.hint.substr(0, r.hint.find(" <"))) << "</td></tr>\n";
  out << R"(<tr><td><kbd>&larr;</kbd> <kbd>&uarr;</kbd> <kbd>&rarr;</kbd> <kbd>&darr;</kbd></td><td>scroll the map</td></tr>
<tr><td><kbd>+</kbd> <kbd>-</kbd> (or the wheel over the map)</td><td>zoom the map in and out</td></tr>
<tr><td><kbd>H</kbd></td><td>the Colony History: the population and the balances over the last 120 days or the whole life of the colony (a click on the Status page opens it too)</td></tr>
<tr><td><kbd>F8</kbd> or <kbd>Alt</kbd>+<kbd>S</kbd></td><td>sound effects on or off, on every screen</td></tr>
<tr><td><kbd>F9</kbd></td><td>the Options: sound effects, their volume, full screen or a window, autosave (also on the title screen)</td></tr>
<tr><td><kbd>F11</kbd> or <kbd>Alt</kbd>+<kbd>Enter</kbd></td><td>full screen or a window, on every screen</td></tr>
<tr><td><kbd>F12</kbd></td><td>a screenshot of the window into your pictures folder, on every screen</td></tr>
<tr><td>left click</td><td>build on the map, pick a structure, press a button, jump on the minimap</td></tr>
<tr><td>right click</td><td>let go of the chosen structure</td></tr>
</table>
<p>In a dialog, the underlined letter of a button presses it (not while you type a name),
<kbd>Enter</kbd> or <kbd>Space</kbd> press the button with the dark frame, <kbd>Tab</kbd> moves that
frame, and the cross in the corner closes the dialog. <kbd>Esc</kbd> does nothing there, and a
key held down never answers a question. While a dialog is open the colony waits.</p>
)";

  // --- options ---
  out << "<h2 id=\"options\">Options</h2>\n"
      << Img(pictures.Screenshot("dialog-options"), "The Options dialog", "shot") << R"(
<p><kbd>F9</kbd>, or <b>Options</b> on the title screen, opens the Options. Each row shows its
setting on a button; click it (or press the row's underlined letter) to change it.
<b>Sound effects</b> turns the game's sounds on or off, as <kbd>F8</kbd> does. <b>Quieter</b> and
<b>Louder</b> set their volume in steps of ten percent (the arrow keys step it too).
<b>Display</b> chooses full screen or a window, and <b>Autosave</b> saves the colony every 2, 5 or
10 minutes of running play, or never. <b>Ok</b> (or <kbd>Enter</kbd>) takes effect at once;
<b>Cancel</b> and the cross leave everything as it was.</p>
<h2 id="window">Full screen or a window</h2>
<p>The game starts on the whole screen. <kbd>F11</kbd> or <kbd>Alt</kbd>+<kbd>Enter</kbd> (or
<b>Display</b> in the Options) puts it in a window, and back on the whole screen. Drag the
window's border to make it larger or smaller, down to 800 &times; 600 pixels: the title screen,
the game screen and every dialog are laid out again for the new size. The game remembers
whether it was on the whole screen, and the window's size and place, and opens the same way the
next time. Started from a terminal, <code>redhollow --window</code> opens a window of the
remembered size, <code>redhollow --window=1600x900</code> one of that size, and
<code>redhollow --fullscreen</code> the whole screen, for that start.</p>
)";

  // --- saves ---
  out << "<h2 id=\"saves\">Saving and loading</h2>\n"
      << Img(pictures.Screenshot("dialog-save"), "The Save Game dialog", "shot") << R"(
<p><kbd>F3</kbd> saves the colony: click into the name field (or pick a name in the list), type a
name and press <kbd>Enter</kbd>. An existing name is replaced only after you answer Yes.
<kbd>F2</kbd> on the game screen, or <b>Load Game</b> on the title screen, loads a saved game: click
its name and press <b>Load</b> (or double-click it). A name may not contain / or \, control
characters, begin with a dot or be longer than )"
      << dialogs::kLongestSaveName << R"( bytes.</p>
<p>Saved games are <code>.sav</code> files in the <code>SAVES</code> folder of the folder the game
runs in: <code>build/SAVES</code> when you start it with <code>./run.sh</code>, and
<code>~/.local/share/redhollow/SAVES</code> (or <code>$XDG_DATA_HOME/redhollow/SAVES</code>) for an
installed game, where they stay when the game is removed or installed again. A file that is
damaged or not a saved game is refused with a sentence saying why, and the game you are playing
stays as it was.</p>
<h2 id="autosave">Autosave</h2>
<p>The game also saves the colony by itself, into the same <code>SAVES</code> folder: every 5
minutes of running play (time running and no dialog open; 2 or 10 minutes, or never, in the
Options), before a new or loaded game takes the place of a colony that changed since it was last
saved, and when you quit with such a colony. It keeps three autosaves,
<code>autosave-1.sav</code> to <code>autosave-3.sav</code>, and always replaces the oldest of
them, so the last three are there after a restart too. Your own saved games are never replaced by
them: those three names are the game's. To go back to an autosave, load it with <kbd>F2</kbd> like
any saved game; the list shows the autosaves first, the newest on top. Autosaving never holds up
play; when it fails (a full disk, a folder that cannot be written), a line at the bottom of the
screen says so, once, and the game goes on.</p>
<h2 id="screenshots">Screenshots</h2>
<p><kbd>F12</kbd> saves what the window shows, with any dialog open on it, as a PNG picture in the
<code>Redhollow</code> folder of your pictures folder: <code>~/Pictures/Redhollow</code>, or the
pictures folder your desktop names (<code>$XDG_PICTURES_DIR</code>). The files are named by the
date and time, such as <code>redhollow-2026-12-08-19-30-05.png</code>, and never replace another.
A line at the bottom of the screen says which file was written, or why none was.</p>
<h2 id="art">Changing the art</h2>
<p>Every picture and sound of the game lives in three archives beside it. The tool
<code>resarc</code> unpacks an archive into PNG and WAV files and packs them back:
<code>resarc extract res02.dat art/</code>, edit the pictures keeping their sizes, then
<code>resarc pack art/ res02.dat</code> into the game's folder. In transparent pictures pure black
is a hole.</p>
</main>
</body>
</html>
)";
}

}  // namespace manual
