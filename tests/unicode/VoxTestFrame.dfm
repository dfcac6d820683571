object VoxTestFrame: TVoxTestFrame
  Left = 0
  Top = 0
  Width = 200
  Height = 80
  Hint = #20013#25991
  TabOrder = 0
  object Edit1: TVoxEdit
    Left = 8
    Top = 8
    Width = 100
    Height = 21
    TabOrder = 0
    Text = #20013#25991
  end
end
