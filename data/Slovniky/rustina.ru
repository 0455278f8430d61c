[Zvншata]
0=собака\pes
1=кошка\koиka
2=лошадь\kщт
3=корова\krбva
4=птица\ptбk
5=мышь\myЪ
6=рыба\ryba
7=медведь\medvмd
8=волк\vlk
9=Єж\jeЮek

[Rodina]
0=дом\dщm
1=мать\matka
2=отец\otec
3=брат\bratr
4=сестра\sestra
5=ребЄнок\dнtм
6=окно\okno
7=стол\stщl
8=стул\Юidle
9=кухн€\kuchynм

[Slova]
0=вода\voda
1=хлеб\chlйb,chleba
2=молоко\mlйko
3=книга\kniha
4=школа\Ъkola
5=город\mмsto
6=улица\ulice
7=день\den
8=ночь\noc
9=говорить\mluvit,шнkat
10=читать\инst
11=сме€тьс€\(se) smбt

