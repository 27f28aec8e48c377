@NEP 3.1
@vstupni soubor
hlavicka
hlavicka
Uèebna
9000 6000 3200
radek
1 0 3 1 0
0.7 0.3 0.5 0.5 0.5 0.5
radek
okno
okno
okno
okno
okno
okno
okno
okno
okno
Skøíò
1000 200 0
2000 0 3000
2 1 4
600 0 0
0 400 0
0 0 1800
0
0.45
Sloup
3000 3000 0
0 0 3200
1 1 1
300 0 0
0 300 0
0 0 3200
0
0.5
Nic
0 0 0
0 0 0
1 1 1
0 0 0
0 0 0
0 0 0
0
0.3
skupina C
skupina C
skupina C
skupina C
skupina C
skupina C
skupina C
skupina C
skupina C

500 500 800
4000 6000
3 4
x
x
0 0 1
