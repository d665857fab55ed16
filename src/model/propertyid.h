#pragma once

#include <QLatin1StringView>

// Stable names of the property rows of the report, its bands and items. Code
// that picks a row (the edit handlers, the checks that point at a row, the
// pane's focus) names it by these, never by the text the pane shows for it,
// which may be translated. Rows of several pages that mean the same thing share
// an id, and the rows of one page have distinct ids.
namespace RowId {
inline constexpr QLatin1StringView Object("object");
inline constexpr QLatin1StringView FileName("file_name");
inline constexpr QLatin1StringView Title("title");
inline constexpr QLatin1StringView Orientation("orientation");
inline constexpr QLatin1StringView PageSize("page_size");
inline constexpr QLatin1StringView PageHeight("page_height");
inline constexpr QLatin1StringView PageWidth("page_width");
inline constexpr QLatin1StringView DatabaseType("database_type");
inline constexpr QLatin1StringView ConnectString("connect_string");
inline constexpr QLatin1StringView Locale("locale");

inline constexpr QLatin1StringView Name("name");
inline constexpr QLatin1StringView BandHeight("band_height");
inline constexpr QLatin1StringView Query("query");
inline constexpr QLatin1StringView ParentDataSource("parent_data_source");
inline constexpr QLatin1StringView GroupHeader("group_header");
inline constexpr QLatin1StringView GroupFooter("group_footer");
inline constexpr QLatin1StringView PrintOnFirstPage("print_on_first_page");
inline constexpr QLatin1StringView PrintWhen("print_when");
inline constexpr QLatin1StringView StartNewPage("start_new_page");
inline constexpr QLatin1StringView ResetPageNumber("reset_page_number");
inline constexpr QLatin1StringView KeepWithNext("keep_with_next");
inline constexpr QLatin1StringView RepeatHeader("repeat_header");
inline constexpr QLatin1StringView KeepTogether("keep_together");
inline constexpr QLatin1StringView ColumnLayout("column_layout");
inline constexpr QLatin1StringView Columns("columns");
inline constexpr QLatin1StringView ColumnGap("column_gap");
inline constexpr QLatin1StringView ColumnOrder("column_order");
inline constexpr QLatin1StringView ColumnWidth("column_width");
inline constexpr QLatin1StringView FirstColumnLeft("first_column_left");
inline constexpr QLatin1StringView SkipLabels("skip_labels");

inline constexpr QLatin1StringView Position("position");
inline constexpr QLatin1StringView Left("left");
inline constexpr QLatin1StringView Top("top");
inline constexpr QLatin1StringView Right("right");
inline constexpr QLatin1StringView Bottom("bottom");
inline constexpr QLatin1StringView Font("font");
inline constexpr QLatin1StringView TextColor("text_color");
inline constexpr QLatin1StringView HorzAlignment("horz_alignment");
inline constexpr QLatin1StringView VertAlignment("vert_alignment");
inline constexpr QLatin1StringView WordWrap("word_wrap");
inline constexpr QLatin1StringView Text("text");
inline constexpr QLatin1StringView CanGrow("can_grow");
inline constexpr QLatin1StringView DataSource("data_source");
inline constexpr QLatin1StringView DataField("data_field");
inline constexpr QLatin1StringView DataFormat("data_format");
inline constexpr QLatin1StringView Aggregate("aggregate");
inline constexpr QLatin1StringView AggregateOver("aggregate_over");
inline constexpr QLatin1StringView Expression("expression");
inline constexpr QLatin1StringView DisplayFormat("display_format");
inline constexpr QLatin1StringView Styles("styles");
inline constexpr QLatin1StringView ShapeType("shape_type");
inline constexpr QLatin1StringView Color("color");
inline constexpr QLatin1StringView BkColor("bk_color");
inline constexpr QLatin1StringView LineStyle("line_style");
inline constexpr QLatin1StringView ImageFile("image_file");
inline constexpr QLatin1StringView Barcode("barcode");
inline constexpr QLatin1StringView Symbology("symbology");
inline constexpr QLatin1StringView EccLevel("ecc_level");
inline constexpr QLatin1StringView ShowText("show_text");
inline constexpr QLatin1StringView ChartType("chart_type");
inline constexpr QLatin1StringView ChartOver("chart_over");
inline constexpr QLatin1StringView Category("category");
inline constexpr QLatin1StringView Legend("legend");
inline constexpr QLatin1StringView ValueLabels("value_labels");
// A chart's series by place: the group and its name, value and colour.
inline constexpr QLatin1StringView Series[] {
        QLatin1StringView("series1"), QLatin1StringView("series2"), QLatin1StringView("series3"),
        QLatin1StringView("series4")};
inline constexpr QLatin1StringView SeriesName[] {
        QLatin1StringView("series1_name"), QLatin1StringView("series2_name"),
        QLatin1StringView("series3_name"), QLatin1StringView("series4_name")};
inline constexpr QLatin1StringView SeriesValue[] {
        QLatin1StringView("series1_value"), QLatin1StringView("series2_value"),
        QLatin1StringView("series3_value"), QLatin1StringView("series4_value")};
inline constexpr QLatin1StringView SeriesColor[] {
        QLatin1StringView("series1_color"), QLatin1StringView("series2_color"),
        QLatin1StringView("series3_color"), QLatin1StringView("series4_color")};
} // namespace RowId
