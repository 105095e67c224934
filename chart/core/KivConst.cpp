// The message table and the filling of its placeholders.
//
// Tested by: chart/tests/KivConstTest.cpp
#include "chart/core/KivConst.h"

#include "chart/core/KivProCo.h"

#include <array>

namespace chart {

namespace {

const std::array<std::string, KivMessageCount + 1>& Messages() {
  static const std::array<std::string, KivMessageCount + 1> table = {
    "",  // 0: numbers start at 1
    "Test...",  // 1
    "First Legend Value must be > 0",  // 2
    "Legend Color Width must be > 0%",  // 3
    "No ParentChart to validate DataSource",  // 4
    "No valid DataSource: %s",  // 5
    "FillSampleValues NumValues must be > 0",  // 6
    "DateTime Axis cannot be Logarithmic",  // 7
    "Logarithmic Axis Min and Max values should be >= 0",  // 8
    "Labels Separation % must be greater than 0",  // 9
    "Axis increment must be >= 0",  // 10
    "Axis Minimum Value must be <= Maximum",  // 11
    "Axis Maximum Value must be >= Minimum",  // 12
    "Axis Logarithmic Base should be >= 2",  // 13
    "MaxPointsPerPage must be >= 0",  // 14
    "3D effect percent must be between %d and %d",  // 15
    "Circular Series dependences are not allowed",  // 16
    "16k Color or greater required to get better look",  // 17
    "%s of %s",  // 18
    "%s\rof %s",  // 19
    "##0.## %",  // 20
    "#,##0.###",  // 21
    "#.0 \"x10\" E+0",  // 22
    "Axis Title",  // 23
    "Axis Labels",  // 24
    "Refresh Interval must be between 0 and 60",  // 25
    "Series.ParentChart is not myself!",  // 26
    "Line",  // 27
    "Point",  // 28
    "Area",  // 29
    "Bar",  // 30
    "Horizontal\rBar",  // 31
    "Stack",  // 32
    "Pie",  // 33
    "Circled",  // 34
    "Fast Line",  // 35
    "Horizontal\rLine",  // 36
    "Cars",  // 37
    "Phones",  // 38
    "Tables",  // 39
    "Monitors",  // 40
    "Lamps",  // 41
    "Keyboards",  // 42
    "Bikes",  // 43
    "Chairs",  // 44
    "Courier New",  // 45
    "Editing %s",  // 46
    "Standard",  // 47
    "Extended",  // 48
    "Functions",  // 49
    "E&dit Chart...",  // 50
    "&Print Preview...",  // 51
    "E&xport Chart...",  // 52
    "Custom Axes...",  // 53
    "%s: Invalid Editor Class: %s",  // 54
    "%s: has no Editor Dialog",  // 55
    "Arrow",  // 56
    "&Finish",  // 57
    "&Next >",  // 58
    "Gantt",  // 59
    "Design",  // 60
    "Prototyping",  // 61
    "Development",  // 62
    "Sales",  // 63
    "Marketing",  // 64
    "Testing",  // 65
    "Manufac.",  // 66
    "Debugging",  // 67
    "New Version",  // 68
    "Banking",  // 69
    "Change Series Title",  // 70
    "New Series Title:",  // 71
    "DateTime",  // 72
    "Top Axis",  // 73
    "Bottom Axis",  // 74
    "Left Axis",  // 75
    "Right Axis",  // 76
    "Delete %s ?",  // 77
    "DateTime For&mat:",  // 78
    "Default: ",  // 79
    "Values For&mat:",  // 80
    "Maximum",  // 81
    "Minimum",  // 82
    "Desired %s Increment",  // 83
    "Incorrect value. Reason: %s",  // 84
    "Enter [Number of Days] [hh:mm:ss]",  // 85
    "Apply Changes ?",  // 86
    "(Selected Series)",  // 87
    "&Refresh Data",  // 88
    "8",  // 89
    "414",  // 90
    "347",  // 91
    "Add",  // 92
    "Subtract",  // 93
    "Multiply",  // 94
    "Divide",  // 95
    "High",  // 96
    "Low",  // 97
    "Average",  // 98
    "Shape",  // 99
    "Bubble",  // 100
    "Copy",  // 101
    "(none)",  // 102
    "{ Private declarations }",  // 103
    "{ Public declarations }",  // 104
    "Arial",  // 105
    "Pointer size must be greater than zero",  // 106
    "Abo&ut Kiv...",  // 107
    "Additional",  // 108
    "Data Controls",  // 109
    "QReport",  // 110
    "Dataset",  // 111
    "&Dataset:",  // 112
    "Single Record",  // 113
    "&DataSource:",  // 114
    "Summary",  // 115
    "Function Period should be >= 0",  // 116
    "Business",  // 117
    "Kiv Wizard",  // 118
    "Clea&r",  // 119
    "B&rowse...",  // 120
    "Are you sure that you want to close the Kiv Wizard ?",  // 121
    "Field %s does not exist",  // 122
    "Depth Axis",  // 123
    "Other",  // 124
    "abc",  // 125
    "123",  // 126
    "X",  // 127
    "Y",  // 128
    "Pie",  // 129
    "Bar",  // 130
    "Angle",  // 131
    "Start",  // 132
    "End",  // 133
    "NextTask",  // 134
    "Radius",  // 135
    "EndX",  // 136
    "EndY",  // 137
    "Legend",  // 138
    "Title",  // 139
    "Footer",  // 140
    "Period",  // 141
    "Period range",  // 142
    "Calculate %s every:",  // 143
    "Small Dots",  // 144
    "Invalid Chart in *.kiv file",  // 145
    "Wrong *.kiv file format",  // 146
    "Empty *.kiv file",  // 147
    "Chart Axes",  // 148
    "Chart Axes properties and events",  // 149
    "Chart Walls",  // 150
    "Chart Walls properties and events",  // 151
    "Chart Titles",  // 152
    "Chart Titles properties and events",  // 153
    "Chart 3D",  // 154
    "Chart 3D properties and events",  // 155
    "Custom ",  // 156
    "Series",  // 157
    "Series...",  // 158
    "Page %d of %d",  // 159
    "%d bytes",  // 160
    "First",  // 161
    "Prior",  // 162
    "Next",  // 163
    "Last",  // 164
    "Insert",  // 165
    "Delete",  // 166
    "Edit",  // 167
    "Post",  // 168
    "Cancel",  // 169
    "(all)",  // 170
    "Index",  // 171
    "Text",  // 172
    "as &Bitmap",  // 173
    "Bitmaps (*.bmp)|*.bmp",  // 174
    "as &Metafile",  // 175
    "Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf",  // 176
    "Panel property is not set in Export format",  // 177
    "Normal",  // 178
    "No Border",  // 179
    "Dotted",  // 180
    "Colors",  // 181
    "Filled",  // 182
    "Marks",  // 183
    "Stairs",  // 184
    "Points",  // 185
    "Height",  // 186
    "Hollow",  // 187
    "Point 2D",  // 188
    "Triangle",  // 189
    "Star",  // 190
    "Circle",  // 191
    "Down Tri.",  // 192
    "Cross",  // 193
    "Diamond",  // 194
    "No Lines",  // 195
    "Stack 100%",  // 196
    "Pyramid",  // 197
    "Ellipse",  // 198
    "Inv. Pyramid",  // 199
    "Sides",  // 200
    "Side All",  // 201
    "Patterns",  // 202
    "Exploded",  // 203
    "Shadow",  // 204
    "Semi Pie",  // 205
    "Rectangle",  // 206
    "Vert.Line",  // 207
    "Horiz.Line",  // 208
    "Line",  // 209
    "Cube",  // 210
    "Diag.Cross",  // 211
    "Can not find Temp folder",  // 212
    "Can not create Temp file",  // 213
    "Can not email Kiv. Mapi Error: %d",  // 214
    "Series Delete: ValueIndex %d out of bounds (0 to %d).",  // 215
    "",  // 216: not used by this system
    "No Series selected",  // 217
    "Error code: %d downloading Chart from URL: %s",  // 218
    "Error code: %d downloading Series data from URL: %s",  // 219
    "as &JPEG",  // 220
    "JPEG files (*.jpg)|*.jpg",  // 221
    "as &GIF",  // 222
    "GIF files (*.gif)|*.gif",  // 223
    "as &PNG",  // 224
    "PNG files (*.png)|*.png",  // 225
    "as PC&X",  // 226
    "PCX files (*.pcx)|*.pcx",  // 227
    "as &VML (HTM)",  // 228
    "VML files (*.htm)|*.htm",  // 229
    "&Language...",  // 230
    "Gradient",  // 231
    "Do you want to save %s?",  // 232
    "Kiv files (*.kiv)|*.kiv",  // 233
    "Property",  // 234
    "Value",  // 235
    "Yes",  // 236
    "No",  // 237
    "(image)",  // 238
    "",  // 239: not used by this system
    "Cannot import Kiv from %s",  // 240
    "&Print Preview...",  // 241
    "E&xport...",  // 242
    "&Import...",  // 243
    "&Help...",  // 244
    "&About Kiv...",  // 245
    "Kiv: Error code: %d downloading: %s",  // 246
    "Kiv DataSource is not a Series or RecordSet",  // 247
    "Invalid Series type",  // 248
    "Invalid Axis type",  // 249
    "Are you sure you want to delete %s ?",  // 250
    "No default printer installed.",  // 251
    "Picture not valid",  // 252
    "y = f(x)",  // 253
    "as &PDF",  // 254
    "PDF files (*.pdf)|*.pdf",  // 255
    "as PostScript",  // 256
    "PostScript files (*.eps)|*.eps",  // 257
    "Horizontal\rArea",  // 258
    "Self Stacked",  // 259
    "Dark Border",  // 260
    "Select database folder",  // 261
    "&Alias:",  // 262
    "&Connection:",  // 263
  };
  return table;
}

}  // namespace

const std::string& KivMsg(int number) {
  static const std::string empty;
  if (number > KivMessageCount) return KivProCoText(number);
  if (number < 1) return empty;
  return Messages()[static_cast<std::size_t>(number)];
}

std::string FormatKivMsg(int number, std::initializer_list<std::string_view> args) {
  const std::string& text = KivMsg(number);
  std::string result;
  auto next = args.begin();
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 1 < text.size()) {
      const char spec = text[i + 1];
      if (spec == '%') {
        result += '%';
        ++i;
        continue;
      }
      if (spec == 'd' || spec == 's') {
        if (next != args.end()) result += *next++;
        ++i;
        continue;
      }
    }
    result += text[i];
  }
  return result;
}

}  // namespace chart
