#!/usr/bin/env python3
"""Prints the 34 alert rows of the alert list (gridLayout_37 in forms/maingui.ui) as .ui XML.

Each row is four widgets: delete button, parameter label, value label (across two columns) and
audio button. The rows are fixed; run this once when they change and paste the output into the
grid, after its header labels and bottom spacer:

    python3 tools/alertrows.py --indent 28 > rows.xml
"""
import argparse
from xml.sax.saxutils import escape

# (name part, display text) in grid order; each gives a LessThan row and a GreaterThan row.
PARAMETERS = [
    ("Temp", "Temperature"),
    ("Lightning", "Lightning"),
    ("WindSpeed", "Wind Speed"),
    ("WindDirection", "Wind Direction"),
    ("WindGustSpeed", "Wind Gust Speed"),
    ("CrossWindSpeed", "Cross Wind Speed"),
    ("DewPoint", "Dew Point"),
    ("RelativeHumidity", "Relative Humidity"),
    ("HeatIndex", "Heat Index"),
    ("WindChill", "Wind Chill"),
    ("Altimeter", "Altimeter"),
    ("StationPressure", "Station Pressure"),
    ("SeaLevelPressure", "Sea Level Pressure"),
    ("PressureAltitude", "Pressure Altitude"),
    ("DensityAltitude", "Density Altitude"),
    ("3hrPressureChange", "3Hr Pressure Change"),
    ("Visibility", "Visibility"),
]
DIRECTIONS = ["LessThan", "GreaterThan"]
FIRST_ROW = 2
LAST_CHECKABLE_ROW = 22  # audio buttons below this row only show their state

RED = ":/resources/redlight_icon_small.png"
GREEN = ":/resources/greenlight_icon_small.png"
RED_CHECK = ":/resources/redcheckmark.png"
GREEN_CHECK = ":/resources/greencheckmark.png"
QRC = "../resources/resources.qrc"


def icon(off, on=None):
    states = f"<normaloff>{off}</normaloff>"
    if on:
        states += f"<normalon>{on}</normalon>"
    return f'<iconset resource="{QRC}">', f" {states}{off}</iconset>"


def rows():
    out = []
    row = FIRST_ROW
    for part, text in PARAMETERS:
        for direction in DIRECTIONS:
            name = part + direction
            out += [f'<item row="{row}" column="0">',
                    f' <widget class="QPushButton" name="pushButton_delete{name}">',
                    '  <property name="text">',
                    '   <string>X</string>',
                    '  </property>',
                    ' </widget>',
                    '</item>',
                    f'<item row="{row}" column="1">',
                    f' <widget class="QLabel" name="label_parameter{name}">']
            if name == "VisibilityGreaterThan":
                out += ['  <property name="font">',
                        '   <font>',
                        '    <family>Muli</family>',
                        '    <pointsize>10</pointsize>',
                        '    <bold>true</bold>',
                        '   </font>',
                        '  </property>']
            out += ['  <property name="styleSheet">',
                    '   <string notr="true">padding-left: 5px; padding-right:10px;</string>',
                    '  </property>',
                    '  <property name="text">',
                    f'   <string>{escape(text)}</string>',
                    '  </property>',
                    '  <property name="alignment">',
                    '   <set>Qt::AlignLeading|Qt::AlignLeft|Qt::AlignVCenter</set>',
                    '  </property>',
                    ' </widget>',
                    '</item>',
                    f'<item row="{row}" column="2" colspan="2">',
                    f' <widget class="QLabel" name="label_value{name}">',
                    '  <property name="text">',
                    '   <string>Value</string>',
                    '  </property>',
                    '  <property name="alignment">',
                    '   <set>Qt::AlignCenter</set>',
                    '  </property>',
                    ' </widget>',
                    '</item>',
                    f'<item row="{row}" column="4">',
                    f' <widget class="QPushButton" name="pushButton_audio{name}">',
                    '  <property name="styleSheet">',
                    '   <string notr="true">background: transparent;</string>',
                    '  </property>',
                    '  <property name="text">',
                    '   <string/>',
                    '  </property>',
                    '  <property name="icon">']
            # The temperature rows show check marks; the greater-than one has no "on" image.
            if name == "TempLessThan":
                opening, rest = icon(RED_CHECK, GREEN_CHECK)
            elif name == "TempGreaterThan":
                opening, rest = icon(RED_CHECK)
            else:
                opening, rest = icon(RED, GREEN)
            out += ['   ' + opening, '   ' + rest, '  </property>']
            if row <= LAST_CHECKABLE_ROW:
                out += ['  <property name="checkable">',
                        '   <bool>true</bool>',
                        '  </property>']
            out += [' </widget>', '</item>']
            row += 1
    return out


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--indent", type=int, default=0, help="spaces before each line")
    args = parser.parse_args()
    pad = " " * args.indent
    print("\n".join(pad + line for line in rows()))


if __name__ == "__main__":
    main()
