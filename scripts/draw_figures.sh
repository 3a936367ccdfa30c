#!/usr/bin/env bash
# Draws the figures of docs/benchmarks.md and docs/training.md from the
# measured data in docs/figures/data (one .tsv a figure): after a new
# measurement, change its .tsv and run this script again. Needs gnuplot
# (Debian's gnuplot-nox, whose cairo terminal draws the PNGs).
set -euo pipefail
cd "$(dirname "$0")/../docs/figures"
command -v gnuplot >/dev/null || { echo "draw_figures.sh: needs gnuplot (apt-get install gnuplot-nox)" >&2; exit 1; }

common='set terminal pngcairo size 760,440 font "Noto Sans CJK JP,11" background rgb "white";
set datafile separator tab; set key top left; set grid lc rgb "#dddddd"; set border 3; set tics nomirror'

gnuplot <<GP
$common
set output "analysis_per_empty.png"
set title "Endgame analysis: time per empty square (two threads)"
set xlabel "empty squares"; set ylabel "seconds (log scale)"
set logscale y; set format y "%g"; set xtics 1
plot "data/analysis_per_empty.tsv" using 1:2 with linespoints lw 2 pt 7 title "now, wall", \
     "" using 1:3 with linespoints lw 2 pt 5 title "now, processor", \
     "" using 1:4 with linespoints lw 1 pt 6 dt 2 title "a9c0a54, wall", \
     "" using 1:5 with linespoints lw 1 pt 4 dt 2 title "a9c0a54, processor"
GP

gnuplot <<GP
$common
set output "probcut_depth.png"
set title "Depth of 狐 finished within 1 s, ProbCut off and on"
set ylabel "depth (plies)"; set yrange [0:20]
set style data histogram; set style histogram clustered gap 1; set style fill solid 0.8 border -1
set boxwidth 0.9; set bmargin 4
plot "data/probcut_depth.tsv" using 2:xtic(1) title "off" lc rgb "#8899aa", \
     "" using 3 title "on" lc rgb "#cc6633"
GP

gnuplot <<GP
$common
set output "learning_curve.png"
set title "Learning curve of 狐: error against the number of games"
set xlabel "games (log scale)"; set ylabel "mean absolute error (discs)"
set logscale x 2; set xrange [8000:100000]; set xtics ("10,000" 10000, "20,000" 20000, "40,000" 40000, "80,000" 80000)
set key top right
plot "data/learning_curve.tsv" using 1:2 with linespoints lw 2 pt 7 title "16–18 empty squares", \
     "" using 1:3 with linespoints lw 2 pt 5 title "12–14 empty squares"
GP

gnuplot <<GP
$common
set output "book_margin.png"
set title "Opening book: different games of 100 against the margin"
set xlabel "margin (discs)"; set ylabel "different games of 100"; set yrange [0:100]; set xtics 4
set key bottom right
plot "data/book_margin.tsv" using 1:2 with linespoints lw 2 pt 7 title "uniform choice", \
     "" using 1:3 with linespoints lw 2 pt 5 title "by lines (shipped at 20)"
GP
echo "draw_figures.sh: wrote $(ls *.png | tr '\n' ' ')"
